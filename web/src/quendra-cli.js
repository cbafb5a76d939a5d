/* Runs quendra-cli on the machine that serves this page. Arguments always go
 * as a list to cockpit.spawn, never through a shell, so nothing an operator
 * typed or a host sent is ever read as a command. */
"use strict";

const _ = cockpit.gettext;
/* The page is English when Cockpit served it the English translation (its
 * session speaks English); in every other language it keeps the hosts' Chinese. */
const pageIsEnglish = () => _("Quendra 主机配置") !== "Quendra 主机配置";

window.QuendraCli = (function () {
    const PROGRAM = "quendra-cli";

    /* The command's exit statuses, as quendra-cli documents them. */
    const STATUS = { done: 0, usage: 1, noAnswer: 2, partly: 3, refused: 4, differs: 5 };

    /* Runs `quendra-cli ARGS...`, with INPUT on its standard input when given.
     * Resolves with {status, out, err}; a command that ran and failed is a
     * result, not an exception: its status and message say what went wrong.
     * Rejects only when the program could not be started at all. */
    function run(args, input) {
        return new Promise((resolve, reject) => {
            const proc = cockpit.spawn([PROGRAM].concat(args), { err: "message" });
            if (input !== undefined)
                proc.input(input);
            proc.then((out, err) => resolve({ status: 0, out, err: err || "" }))
                .catch((ex, out) => {
                    if (ex.exit_status === undefined || ex.exit_status === null)
                        reject(new Error(ex.message || String(ex)));
                    else
                        resolve({ status: ex.exit_status, out: out || "", err: ex.message || "" });
                });
        });
    }

    /* The same, with --json: the standard output parsed. */
    async function runJson(args, input) {
        const result = await run(["--json"].concat(args), input);
        result.data = null;
        if (result.out.trim() !== "") {
            try {
                result.data = JSON.parse(result.out);
            } catch (e) {
                result.status = result.status || STATUS.usage;
                result.err = result.err || e.message;
            }
        }
        return result;
    }

    return { run, runJson, STATUS };
})();
