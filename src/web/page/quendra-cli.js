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
    // History entries name the page as the program that wrote through quendra-cli.
    const CALLER = ["QUENDRA_CALLER=cockpit"];

    /* The command's exit statuses, as quendra-cli documents them. */
    const STATUS = { done: 0, usage: 1, noAnswer: 2, partly: 3, refused: 4, differs: 5 };

    /* Runs `quendra-cli ARGS...`, with INPUT on its standard input when given.
     * Resolves with {status, out, err}; a command that ran and failed is a
     * result, not an exception: its status and message say what went wrong.
     * Rejects only when the program could not be started at all. */
    function run(args, input) {
        return new Promise((resolve, reject) => {
            const proc = cockpit.spawn([PROGRAM].concat(args), { err: "message", environ: CALLER });
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

    /* The JSON a command printed: one document, or JSON lines (progress
     * events as they came, then the result, the last line). */
    function parseJson(out) {
        try {
            return { data: JSON.parse(out), events: [] };
        } catch (e) {
            const lines = out.split("\n").filter(l => l.trim() !== "").map(l => JSON.parse(l));
            return { data: lines.length ? lines[lines.length - 1] : null, events: lines.slice(0, -1) };
        }
    }

    /* The same, with --json: the standard output parsed into `data` (the
     * result) and `events` (the progress that came before it). With
     * ONEVENT, each progress event is handed over as it arrives; the
     * returned promise has `cancel()`, which stops the command (SIGTERM):
     * quendra-cli then stops sending and says which records were written. */
    function runJson(args, input, onEvent) {
        let proc = null;
        const promise = new Promise((resolve, reject) => {
            proc = cockpit.spawn([PROGRAM, "--json"].concat(args), { err: "message", environ: CALLER });
            let out = "", pending = "";
            proc.stream(chunk => {
                out += chunk;
                pending += chunk;
                const lines = pending.split("\n");
                pending = lines.pop();
                if (onEvent)
                    for (const line of lines)
                        if (line.startsWith("{") && line.includes('"event"'))
                            try { onEvent(JSON.parse(line)) } catch (e) { /* a result printed over several lines */ }
            });
            if (input !== undefined)
                proc.input(input);
            const finish = (status, err) => {
                const result = { status, out, err: err || "", data: null, events: [] };
                if (out.trim() !== "") {
                    try {
                        Object.assign(result, parseJson(out));
                    } catch (e) {
                        result.status = result.status || STATUS.usage;
                        result.err = result.err || e.message;
                    }
                }
                resolve(result);
            };
            proc.then(() => finish(0, ""))
                .catch(ex => {
                    if (ex.exit_status === undefined || ex.exit_status === null)
                        reject(new Error(ex.message || String(ex)));
                    else
                        finish(ex.exit_status, ex.message);
                });
        });
        promise.cancel = () => proc && proc.close("terminated");
        return promise;
    }

    return { run, runJson, STATUS };
})();
