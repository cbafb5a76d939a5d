/* Live progress of a quendra-cli job from its JSON lines: a row per host
 * with a progress bar, what it is doing (group and record) and, at the end,
 * its verdict with the records that failed. */
"use strict";

window.JobProgress = (function () {
    const { element } = HostForm;
    const VERDICTS = {
        verified: "已写入并校验", failed: "失败", "no answer": "主机没有应答", refused: "被拒绝（固件版本不支持）",
        cancelled: "已取消", busy: "主机正被其他程序写入", done: "完成",
    };
    const STAGES = { reading: "读取", writing: "写入", verifying: "校验" };
    const macOf = host => String(host || "").split(" ")[0];

    /* Rows for HOSTS (objects with mac and name) in TABLE; `records` is how
     * many records each host's job moves (reads, writes and read-backs). */
    function start(table, hosts, records) {
        table.replaceChildren();
        const rows = {};
        for (const host of hosts) {
            const tr = table.appendChild(element("tr", { class: "quendra-progress-row", "data-mac": host.mac }));
            tr.append(element("th", { scope: "row" }, host.name ? host.name + " " + host.mac : host.mac));
            const bar = element("progress", { max: String(Math.max(records, 1)), value: "0", "aria-label": host.mac });
            tr.appendChild(element("td")).append(bar);
            const text = tr.appendChild(element("td", { class: "quendra-progress-text" }, _("等待")));
            rows[host.mac] = { tr, bar, text, done: 0 };
        }
        return {
            event(e) {
                const row = rows[macOf(e.host)];
                if (!row)
                    return;
                if (e.event === "record-read" || e.event === "record-written") {
                    row.done++;
                    row.bar.value = Math.min(row.done, Number(row.bar.max));
                    row.text.textContent = _(STAGES[e.stage] || e.stage || "") + " " + (e.record || "");
                } else if (e.event === "record-resent") {
                    row.text.textContent = cockpit.format(_("重发 $0"), e.record || "");
                } else if (e.event === "record-failed") {
                    row.text.textContent = cockpit.format(_("$0 没有应答"), e.record || "");
                } else if (e.event === "host-waiting") {
                    row.text.textContent = cockpit.format(_("等待 $0（$1）写完"), e.heldBy.program, e.heldBy.user);
                } else if (e.event === "host-finished") {
                    row.bar.value = Number(row.bar.max);
                    this.verdict(e);
                }
            },
            /* The host's verdict, from its host-finished event or the result. */
            verdict(r) {
                const row = rows[macOf(r.host)];
                if (!row)
                    return;
                const failed = [].concat(r.failed || [], r.mismatched || []);
                const unconfirmed = [].concat(r.unconfirmed || []);
                let text = _(VERDICTS[r.status] || r.status || "");
                if (failed.length)
                    text += " " + _("未成功的记录：") + failed.join(", ");
                if (unconfirmed.length)
                    text += " " + _("已发送未确认：") + unconfirmed.join(", ");
                if (r.heldBy)
                    text += " " + cockpit.format("$0 ($1, $2)", r.heldBy.program, r.heldBy.user, r.heldBy.pid);
                row.text.textContent = text;
                row.tr.dataset.status = r.status || "";
            },
        };
    }

    /* A dry run's row: how many records would be written. */
    function describeDryRun(table, r) {
        const tr = table.querySelector(`tr[data-mac="${CSS.escape(macOf(r.host))}"]`);
        if (!tr)
            return;
        const n = [].concat(r.differing || []).length;
        tr.querySelector(".quendra-progress-text").textContent =
            r.status === "verified" || r.status === "done"
                ? (n ? cockpit.format(_("$0 个记录不同，将写入"), n) : _("与主机相同")) : _(VERDICTS[r.status] || r.status);
    }

    return { start, describeDryRun };
})();
