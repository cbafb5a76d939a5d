/* The page: search the hosts, choose one, read a group, edit it, compare it
 * with what the host holds and write it; save and open configuration files,
 * the fleet table, the network factory reset and a new MAC. Every action runs
 * quendra-cli, so the page follows the rules the window and the command line
 * keep: a host's identity stays its own, history is kept before a write, and
 * a write counts only once the host confirmed it. */
"use strict";

(function () {
    const $ = id => document.getElementById(id);
    const { element } = HostForm;
    const state = { fields: {}, host: null, config: null, form: null, group: null, pending: null, confirmed: null };

    function translateStatic() {
        document.documentElement.lang = pageIsEnglish() ? "en" : "zh-CN";
        for (const e of document.querySelectorAll("[data-text]"))
            e.textContent = _(e.dataset.text);
        for (const e of document.querySelectorAll("[data-label]"))
            e.setAttribute("aria-label", _(e.dataset.label));
        document.title = _("Quendra 主机配置");
    }

    function problem(text) {
        const box = $("problem");
        box.querySelector("p").textContent = text || "";
        box.hidden = !text;
    }

    /* A failed command's message: what failed, then what the tool said. */
    function failure(what, result) {
        const said = (result.err || "").trim();
        return said ? what + "：" + said : what;
    }

    function busy(button, text) {
        button.disabled = !!text;
        $(button.closest("#host") ? "host-state" : "search-state").textContent = text || "";
    }

    function hostName(host) {
        return cockpit.format("$0 ($1, $2)", host.name, host.mac, host.ip);
    }

    /* Offers TEXT as a file named NAME to the browser's downloads. */
    function download(name, text, type) {
        const link = element("a", { download: name, href: URL.createObjectURL(new Blob([text], { type })) });
        document.body.append(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    }

    function fileStamp(host) {
        return host.mac.replace(/[^0-9A-Fa-f]/g, "") + "-" + new Date().toISOString().slice(0, 10);
    }

    /* Runs a command for the chosen host; a result that arrives after another
     * host was chosen is dropped, so nothing of one host lands on another. */
    async function forHost(host, button, doing, command) {
        busy(button, doing);
        const result = await command().catch(e => ({ status: -1, out: "", err: e.message }));
        busy(button, "");
        return host === state.host ? result : null;
    }

    async function search() {
        problem("");
        busy($("search"), _("正在搜索主机..."));
        const result = await QuendraCli.runJson(["search"]).catch(e => ({ status: -1, err: _("无法运行 quendra-cli：") + e.message }));
        busy($("search"), "");
        if (!Array.isArray(result.data)) {
            problem(failure(_("搜索失败"), result));
            return;
        }
        state.hosts = result.data;
        listHosts(result.data);
        $("fleet-table").disabled = result.data.length === 0;
        $("search-state").textContent = cockpit.format(_("找到 $0 台主机"), result.data.length);
    }

    function listHosts(hosts) {
        const body = $("hosts").querySelector("tbody");
        body.replaceChildren();
        for (const host of hosts) {
            const row = element("tr", { class: "pf-v6-c-table__tr quendra-host", tabindex: "0", "aria-selected": "false" });
            const cells = [host.ip, host.name, host.mac, String(host.firmware), host.localAddress,
                (host.conflicts || []).length ? _("IP重复") : ""];
            for (const text of cells)
                row.append(element("td", { class: "pf-v6-c-table__td" }, text || ""));
            row.dataset.mac = host.mac;
            row.addEventListener("click", () => choose(host, row));
            row.addEventListener("keydown", ev => { if (ev.key === "Enter") choose(host, row); });
            body.append(row);
        }
    }

    function choose(host, row) {
        for (const r of $("hosts").querySelectorAll("tr.quendra-host"))
            r.setAttribute("aria-selected", r === row ? "true" : "false");
        Object.assign(state, { host, config: null, form: null, group: null, pending: null, confirmed: null });
        $("host").hidden = false;
        $("host-title").textContent = hostName(host);
        $("fields").replaceChildren();
        $("compare").hidden = true;
        $("confirm").hidden = true;
        $("history-panel").hidden = true;
        $("copy").hidden = true;
        $("job").hidden = true;
        $("write").disabled = true;
        $("host-state").textContent = "";
        problem("");
    }

    async function read() {
        const host = state.host;
        const group = $("group").value;
        problem("");
        $("compare").hidden = true;
        const result = await forHost(host, $("read"), _("正在读取..."), () => QuendraCli.run(["read", host.mac, group]));
        if (!result)
            return;
        if (result.status !== QuendraCli.STATUS.done) {
            problem(failure(cockpit.format(_("读取$0失败"), host.mac), result));
            return;
        }
        state.config = JSON.parse(result.out);
        state.form = HostForm.show($("fields"), state.config, group, state.fields[group], (text, done) => {
            problem(done ? "" : text);
            $("host-state").textContent = done ? text : "";
        });
        state.group = group;
        $("write").disabled = false;
        $("host-state").textContent = _("读取设备参数成功！");
    }

    /* Asks quendra-cli what writing FILE (GROUPS of it) would change on the
     * host and lists it; nothing is sent before the operator confirms. */
    async function compare(file, groups) {
        problem("");
        const host = state.host;
        const result = await forHost(host, $("write"), _("正在比较..."),
                                     () => QuendraCli.runJson(["write", host.mac, "-", ...groups, "--dry-run"], file));
        if (!result)
            return;
        if (result.status !== QuendraCli.STATUS.done || !result.data) {
            problem(failure(cockpit.format(_("$0 不能写入"), host.mac), result));
            return;
        }
        const rows = $("compare").querySelector("tbody");
        rows.replaceChildren();
        const text = v => v === undefined ? "" : String(v);
        const line = (d, kept) => {
            const row = element("tr", { class: "pf-v6-c-table__tr" + (kept ? " quendra-kept" : "") });
            const label = (d.label || d.record) + (kept ? " " + _("（未写入：保持本机标识）") : "");
            for (const cell of [label, text(d.a), text(d.b)])
                row.append(element("td", { class: "pf-v6-c-table__td" }, cell));
            rows.append(row);
        };
        (result.data.differences || []).forEach(d => line(d, false));
        (result.data.kept || []).forEach(d => line(d, true));
        if (!(result.data.differences || []).length) {
            $("host-state").textContent = _("与主机中的参数相同，不需要写入");
            return;
        }
        // the job reads every record of the groups, then writes and reads back those that differ
        const differing = new Set((result.data.differences || []).map(d => d.record)).size;
        const read = groups.length ? groups.reduce((n, g) => n + ((state.fields[g] || {}).records || 1), 0) : differing;
        state.pending = { host, file, groups, records: read + 2 * differing };
        $("compare").hidden = false;
        $("confirm-write").focus();
    }

    /* A value the form refuses stops the write before anything is sent. */
    function writeForm() {
        const problems = state.form.problems();
        if (problems.length) {
            problem(_("没有写入：") + problems.join("；"));
            return;
        }
        compare(JSON.stringify(state.form.edited()), [state.group]);
    }

    /* Runs a long quendra-cli job with a progress row per host and a cancel
     * button; resolves with the command's result once it ended. */
    async function runJob(title, hosts, records, args, input) {
        $("job").hidden = false;
        $("job-title").textContent = title;
        const rows = JobProgress.start($("job-rows"), hosts, records);
        let pid = null;
        const job = QuendraCli.runJson(args, input, e => e.event === "started" ? (pid = e.pid) : rows.event(e));
        state.cancelJob = () => {
            // quendra-cli stops sending on SIGTERM and still says what it wrote
            if (pid)
                cockpit.spawn(["kill", "-TERM", String(pid)], { err: "ignore" }).catch(() => {});
            else
                job.cancel();
        };
        $("job-cancel").disabled = false;
        const result = await job.catch(e => ({ status: -1, err: e.message, data: null, events: [] }));
        $("job-cancel").disabled = true;
        state.cancelJob = null;
        for (const r of [].concat(result.data || []))
            if (r && r.host)
                rows.verdict(r);
        return result;
    }

    async function confirmWrite() {
        const pending = state.pending;
        state.pending = null;
        $("compare").hidden = true;
        if (!pending || pending.host !== state.host)
            return;
        problem("");
        $("host-state").textContent = ""; // the last write's verdict is not this one's
        $("confirm-write").disabled = true;
        const result = await runJob(cockpit.format(_("写入 $0"), hostName(pending.host)), [pending.host],
                                    pending.records, ["write", pending.host.mac, "-", ...pending.groups], pending.file);
        $("confirm-write").disabled = false;
        if (result.status === QuendraCli.STATUS.done && result.data && result.data.status === "verified") {
            $("host-state").textContent = _("写入并校验成功");
            return;
        }
        const failed = result.data ? [].concat(result.data.failed || [], result.data.mismatched || []) : [];
        problem(failure(cockpit.format(_("$0 写入失败"), pending.host.mac), result) +
                (failed.length ? " " + _("未成功的记录：") + failed.join(", ") : ""));
    }

    async function saveFile() {
        const host = state.host;
        problem("");
        const result = await forHost(host, $("save-file"), _("正在读取..."), () => QuendraCli.run(["read", host.mac]));
        if (!result)
            return;
        if (result.status !== QuendraCli.STATUS.done) {
            problem(failure(cockpit.format(_("读取$0失败"), host.mac), result));
            return;
        }
        download(fileStamp(host) + ".json", result.out, "application/json");
        $("host-state").textContent = _("配置已保存");
    }

    function openFile() {
        const picked = $("open-file").files[0];
        $("open-file").value = "";
        if (!picked)
            return;
        picked.text().then(file => {
            state.openedFile = { name: picked.name, text: file };
            compare(file, []);
        }, e => problem(e.message));
    }

    /* The commissioning report of the chosen host, read now. The HTML form
     * comes through a pipe; a PDF is a file quendra-cli writes into a folder
     * of its own on the machine, read back and removed. */
    async function report(pdf) {
        const host = state.host;
        const button = $(pdf ? "report-pdf" : "report-html");
        problem("");
        const name = "report-" + fileStamp(host) + (pdf ? ".pdf" : ".html");
        const result = await forHost(host, button, _("正在生成报告..."), async () => {
            if (!pdf)
                return QuendraCli.run(["report", host.mac, "-o", "-"]);
            const folder = (await cockpit.spawn(["mktemp", "-d", "--tmpdir", "quendra-report.XXXXXX"])).trim();
            try {
                const made = await QuendraCli.run(["report", host.mac, "-o", folder + "/" + name]);
                if (made.status === QuendraCli.STATUS.done)
                    made.bytes = await cockpit.file(folder + "/" + name, { binary: true, max_read_size: 64 * 1024 * 1024 }).read();
                return made;
            } finally {
                cockpit.spawn(["rm", "-rf", "--", folder]).catch(() => {});
            }
        });
        if (!result)
            return;
        if (result.status !== QuendraCli.STATUS.done) {
            problem(failure(cockpit.format(_("$0 的报告没有生成"), host.mac), result));
            return;
        }
        download(name, pdf ? result.bytes : result.out, pdf ? "application/pdf" : "text/html");
        $("host-state").textContent = _("报告已生成");
    }

    /* What the host held before each write, newest first; "恢复..." goes
     * through the compare list like any file of this host. */
    async function showHistory() {
        const host = state.host;
        problem("");
        const result = await forHost(host, $("history"), _("正在读取历史记录..."), () => QuendraCli.runJson(["history", host.mac]));
        if (!result)
            return;
        if (result.status !== QuendraCli.STATUS.done || !Array.isArray(result.data)) {
            problem(failure(_("历史记录"), result));
            return;
        }
        const rows = $("history-rows");
        rows.replaceChildren();
        if (!result.data.length)
            rows.append(element("tr")).appendChild(element("td", {}, _("这台主机还没有历史记录")));
        for (const entry of result.data) {
            const tr = rows.appendChild(element("tr", { "data-entry": entry.entry }));
            for (const text of [new Date(entry.savedAt).toLocaleString(), entry.groups, entry.savedBy])
                tr.append(element("td", {}, text));
            const restore = element("button", { class: "pf-v6-c-button pf-m-secondary", type: "button" }, _("恢复..."));
            restore.addEventListener("click", async () => {
                const shown = await QuendraCli.run(["history", "show", entry.entry]).catch(e => ({ status: -1, err: e.message }));
                if (shown.status !== QuendraCli.STATUS.done)
                    problem(failure(_("历史记录"), shown));
                else if (host === state.host)
                    compare(shown.out, []);
            });
            tr.appendChild(element("td")).append(restore);
        }
        $("history-panel").hidden = false;
    }

    /* Copying to other hosts: the opened file, or else what the chosen host
     * holds now; the targets keep their own identity, and the shared network
     * settings go only when their group is ticked. */
    function openCopy() {
        const source = state.openedFile ? state.openedFile.name : hostName(state.host);
        $("copy-title").textContent = cockpit.format(_("把 $0 的参数复制到："), source);
        const box = (parent, value, label, checked) => {
            const line = parent.appendChild(element("label", { class: "quendra-choice" }));
            const input = line.appendChild(element("input", { type: "checkbox", value }));
            input.checked = checked;
            line.append(element("span", {}, label));
        };
        $("copy-targets").replaceChildren();
        for (const h of state.hosts || [])
            if (h.mac !== state.host.mac)
                box($("copy-targets"), h.mac, hostName(h), false);
        $("copy-groups").replaceChildren();
        for (const [name, label] of HostForm.GROUPS)
            box($("copy-groups"), name, _(label), name !== "network");
        $("copy").hidden = false;
    }

    async function startCopy() {
        const checked = id => [...$(id).querySelectorAll("input:checked")].map(e => e.value);
        const targets = checked("copy-targets"), groups = checked("copy-groups");
        if (!targets.length || !groups.length) {
            problem(_("请选择目标主机和参数组"));
            return;
        }
        problem("");
        $("copy").hidden = true;
        let file = state.openedFile && state.openedFile.text;
        if (!file) {
            const source = state.host;
            const read = await forHost(source, $("copy-hosts"), _("正在读取..."), () => QuendraCli.run(["read", source.mac, ...groups]));
            if (!read || read.status !== QuendraCli.STATUS.done) {
                if (read)
                    problem(failure(cockpit.format(_("读取$0失败"), source.mac), read));
                return;
            }
            file = read.out;
        }
        const hosts = (state.hosts || []).filter(h => targets.includes(h.mac));
        const records = groups.reduce((n, g) => n + 3 * ((state.fields[g] || {}).records || 1), 0);
        const result = await runJob(_("复制到其他主机"), hosts, records, ["clone", "-", ...targets, ...groups], file);
        if (result.status !== QuendraCli.STATUS.done)
            problem(failure(_("有主机没有复制成功"), result));
    }

    /* A roster names its hosts: a dry run first shows what each would get,
     * then the operator applies it. */
    async function rosterPicked() {
        const picked = $("roster-file").files[0];
        $("roster-file").value = "";
        if (!picked)
            return;
        problem("");
        const csv = await picked.text();
        state.roster = null;
        $("roster-apply").hidden = true;
        const hosts = Fleet.parseCsv(csv).slice(1).map(row => ({ mac: row[0], name: "" }));
        const result = await runJob(cockpit.format(_("试写 $0（不发送）"), picked.name), hosts, 1, ["apply", "-", "--dry-run"], csv);
        if (result.status !== QuendraCli.STATUS.done) {
            problem(failure(cockpit.format(_("$0 不能写入"), picked.name), result));
            return;
        }
        for (const r of [].concat(result.data || []))
            JobProgress.describeDryRun($("job-rows"), r);
        state.roster = { name: picked.name, csv, hosts };
        $("roster-apply").hidden = false;
    }

    async function rosterApply() {
        const roster = state.roster;
        $("roster-apply").hidden = true;
        if (!roster)
            return;
        problem("");
        const result = await runJob(cockpit.format(_("写入 $0"), roster.name), roster.hosts, 20, ["apply", "-"], roster.csv);
        if (result.status !== QuendraCli.STATUS.done)
            problem(failure(_("有主机没有写入成功"), result));
    }

    /* A change of the host's identity waits for a confirmation that names it. */
    function ask(question, action) {
        state.confirmed = { host: state.host, action };
        $("confirm-text").textContent = question;
        $("confirm").hidden = false;
        $("confirm-no").focus();
    }

    async function answerYes() {
        const asked = state.confirmed;
        state.confirmed = null;
        $("confirm").hidden = true;
        if (!asked || asked.host !== state.host)
            return;
        const result = await forHost(asked.host, $("confirm-yes"), _("正在发送..."), asked.action);
        if (!result)
            return;
        if (result.status !== QuendraCli.STATUS.done)
            problem(failure(asked.host.mac, result));
        else
            $("host-state").textContent = result.out.trim();
    }

    function resetNetwork() {
        const host = state.host;
        ask(cockpit.format(_("恢复主机 $0 的网络出厂设置？"), hostName(host)),
            () => QuendraCli.run(["reset-network", host.mac, "--yes"]));
    }

    function writeMac() {
        const host = state.host;
        const mac = $("new-mac").value.trim();
        ask(cockpit.format(_("把主机 $0 的MAC地址改为 $1？"), hostName(host), mac),
            () => QuendraCli.run(["set-mac", host.mac, mac, "--yes"]));
    }

    /* Every host side by side; a host that did not answer keeps a row with
     * its MAC alone, and the failure says so. */
    async function fleetTable() {
        problem("");
        busy($("fleet-table"), _("正在读取所有主机..."));
        const result = await QuendraCli.run(["table", "--all"]).catch(e => ({ status: -1, out: "", err: e.message }));
        busy($("fleet-table"), "");
        state.fleetCsv = result.out;
        const words = text => (text && (pageIsEnglish() ? text.en : text.zh)) || "";
        const count = Fleet.show($("fleet-table-view"), result.out || "", state.fields, words);
        $("fleet").hidden = false;
        $("fleet-state").textContent = cockpit.format(_("$0 台主机"), count);
        if (result.status !== QuendraCli.STATUS.done)
            problem(failure(_("主机总表"), result));
    }

    /* What every field is, from quendra-cli itself: the forms follow it. */
    async function describeFields() {
        const result = await QuendraCli.runJson(["fields"]).catch(e => ({ err: e.message }));
        if (!Array.isArray(result.data)) {
            problem(failure(_("无法运行 quendra-cli："), result));
            return;
        }
        for (const g of result.data)
            state.fields[g.group] = g;
    }

    function start() {
        translateStatic();
        for (const [name, label] of HostForm.GROUPS)
            $("group").append(element("option", { value: name }, _(label)));
        const on = (id, handler, event) => $(id).addEventListener(event || "click", handler);
        on("search", search);
        on("read", read);
        on("write", writeForm);
        on("confirm-write", confirmWrite);
        on("cancel-write", () => { state.pending = null; $("compare").hidden = true; });
        on("save-file", saveFile);
        on("open-file", openFile, "change");
        on("reset-network", resetNetwork);
        on("write-mac", writeMac);
        on("confirm-yes", answerYes);
        on("confirm-no", () => { state.confirmed = null; $("confirm").hidden = true; });
        on("fleet-table", fleetTable);
        on("copy-hosts", openCopy);
        on("history", showHistory);
        on("report-pdf", () => report(true));
        on("report-html", () => report(false));
        on("copy-start", startCopy);
        on("copy-close", () => { $("copy").hidden = true; });
        on("roster-file", rosterPicked, "change");
        on("roster-apply", rosterApply);
        on("job-cancel", () => state.cancelJob && state.cancelJob());
        on("fleet-csv", () => download("quendra-hosts-" + new Date().toISOString().slice(0, 10) + ".csv", state.fleetCsv, "text/csv"));
        cockpit.transport.wait(() => describeFields().then(search));
    }

    document.addEventListener("DOMContentLoaded", start);
})();
