/* The page: search the hosts, choose one, read a group, edit it, compare it
 * with what the host holds and write it. Every action runs quendra-cli, so the
 * page follows the same rules as the window and the command line: a host's
 * identity stays its own, history is kept before a write, and a write counts
 * only once the host confirmed it. */
"use strict";

(function () {
    const $ = id => document.getElementById(id);
    const { element } = HostForm;
    const state = { host: null, config: null, edited: null, pending: null };

    function translateStatic() {
        document.documentElement.lang = cockpit.language && cockpit.language.startsWith("en") ? "en" : "zh-CN";
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

    /* A failed command's message, with the host and what the tool said. */
    function failure(what, result) {
        const said = (result.err || "").trim();
        return said ? what + "：" + said : what;
    }

    function busy(button, stateLine, text) {
        button.disabled = !!text;
        stateLine.textContent = text || "";
    }

    async function search() {
        problem("");
        busy($("search"), $("search-state"), _("正在搜索主机..."));
        let result;
        try {
            result = await QuendraCli.runJson(["search"]);
        } catch (e) {
            busy($("search"), $("search-state"), "");
            problem(_("无法运行 quendra-cli：") + e.message);
            return;
        }
        busy($("search"), $("search-state"), "");
        if (result.status !== QuendraCli.STATUS.done && !Array.isArray(result.data)) {
            problem(failure(_("搜索失败"), result));
            return;
        }
        const hosts = Array.isArray(result.data) ? result.data : [];
        listHosts(hosts);
        $("search-state").textContent = cockpit.format(_("找到 $0 台主机"), hosts.length);
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
        state.host = host;
        state.config = null;
        state.edited = null;
        $("host").hidden = false;
        $("host-title").textContent = host.name + "  " + host.mac + "  " + host.ip;
        $("fields").replaceChildren();
        $("compare").hidden = true;
        $("write").disabled = true;
        $("host-state").textContent = "";
        problem("");
    }

    async function read() {
        const host = state.host;
        const group = $("group").value;
        problem("");
        $("compare").hidden = true;
        busy($("read"), $("host-state"), _("正在读取..."));
        const result = await QuendraCli.run(["read", host.mac, group]).catch(e => ({ status: -1, out: "", err: e.message }));
        busy($("read"), $("host-state"), "");
        if (host !== state.host)
            return; // another host was chosen meanwhile: this answer is not for the form
        if (result.status !== QuendraCli.STATUS.done) {
            problem(failure(cockpit.format(_("读取$0失败"), host.mac), result));
            return;
        }
        state.config = JSON.parse(result.out);
        state.edited = HostForm.show($("fields"), state.config, group);
        state.group = group;
        $("write").disabled = false;
        $("host-state").textContent = _("读取设备参数成功！");
    }

    /* The write asks the host what it holds, lists the differences and waits
     * for the operator's confirmation; nothing is sent before that. */
    async function compare() {
        problem("");
        const host = state.host;
        const file = JSON.stringify(state.edited());
        busy($("write"), $("host-state"), _("正在比较..."));
        const result = await QuendraCli.runJson(["write", host.mac, "-", state.group, "--dry-run"], file)
            .catch(e => ({ status: -1, err: e.message }));
        busy($("write"), $("host-state"), "");
        if (host !== state.host)
            return;
        if (result.status !== QuendraCli.STATUS.done || !result.data) {
            problem(failure(cockpit.format(_("$0 不能写入"), host.mac), result));
            return;
        }
        const rows = $("compare").querySelector("tbody");
        rows.replaceChildren();
        const line = (label, a, b, kept) => {
            const row = element("tr", { class: "pf-v6-c-table__tr" + (kept ? " quendra-kept" : "") });
            row.append(element("td", { class: "pf-v6-c-table__td" }, label));
            row.append(element("td", { class: "pf-v6-c-table__td" }, a));
            row.append(element("td", { class: "pf-v6-c-table__td" }, b));
            rows.append(row);
        };
        const text = v => v === undefined ? "" : String(v);
        for (const d of result.data.differences || [])
            line(d.label || d.record, text(d.a), text(d.b), false);
        for (const d of result.data.kept || [])
            line((d.label || d.record) + " " + _("（未写入：保持本机标识）"), text(d.a), text(d.b), true);
        if (!(result.data.differences || []).length) {
            $("host-state").textContent = _("与主机中的参数相同，不需要写入");
            return;
        }
        state.pending = { host, file, group: state.group };
        $("compare").hidden = false;
        $("confirm-write").focus();
    }

    async function confirmWrite() {
        const pending = state.pending;
        state.pending = null;
        $("compare").hidden = true;
        if (!pending || pending.host !== state.host)
            return;
        busy($("confirm-write"), $("host-state"), _("正在写入..."));
        const result = await QuendraCli.runJson(["write", pending.host.mac, "-", pending.group], pending.file)
            .catch(e => ({ status: -1, err: e.message }));
        busy($("confirm-write"), $("host-state"), "");
        const verdict = result.data && result.data.status;
        if (result.status === QuendraCli.STATUS.done && verdict === "verified") {
            $("host-state").textContent = _("写入并校验成功");
            return;
        }
        const failed = result.data ? [].concat(result.data.failed || [], result.data.mismatched || []) : [];
        problem(failure(cockpit.format(_("$0 写入失败"), pending.host.mac), result) +
                (failed.length ? " " + _("未成功的记录：") + failed.join(", ") : ""));
    }

    function start() {
        translateStatic();
        for (const [name, label] of HostForm.GROUPS)
            $("group").append(element("option", { value: name }, _(label)));
        $("search").addEventListener("click", search);
        $("read").addEventListener("click", read);
        $("write").addEventListener("click", compare);
        $("confirm-write").addEventListener("click", confirmWrite);
        $("cancel-write").addEventListener("click", () => { state.pending = null; $("compare").hidden = true; });
        cockpit.transport.wait(search);
    }

    document.addEventListener("DOMContentLoaded", start);
})();
