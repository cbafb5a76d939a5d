#include "app/config_app.h"

int main(int argc, char** argv) {
  quendra::ConfigApp app(argc, argv);
  return app.run();
}
