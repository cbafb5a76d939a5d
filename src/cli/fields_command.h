#pragma once
// quendra-cli fields: every field a configuration can hold, described so that
// a program that knows nothing of the hosts can build a form and check what a
// user typed the way the window does. Needs no network.
#include "cli/cli.h"

namespace quendra::cli {

int fieldsCommand(const Options& options, Environment& env);

}  // namespace quendra::cli
