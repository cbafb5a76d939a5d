/* The fleet: every host of the search side by side (`quendra-cli table
 * --all`), shown as a table and offered as the CSV file spreadsheets open. */
"use strict";

window.Fleet = (function () {
    const { element } = HostForm;

    /* Rows of a CSV file as quendra-cli writes it (RFC 4180, UTF-8 with a
     * byte order mark, CRLF). */
    function parseCsv(text) {
        const rows = [[]];
        let cell = "", quoted = false;
        text = text.replace(/^\ufeff/, "");
        for (let i = 0; i < text.length; i++) {
            const c = text[i];
            if (quoted) {
                if (c === '"' && text[i + 1] === '"') { cell += '"'; i++; } else if (c === '"') quoted = false; else cell += c;
            } else if (c === '"') {
                quoted = true;
            } else if (c === ",") {
                rows[rows.length - 1].push(cell); cell = "";
            } else if (c === "\n" || c === "\r") {
                if (c === "\r" && text[i + 1] === "\n") i++;
                rows[rows.length - 1].push(cell); cell = "";
                rows.push([]);
            } else {
                cell += c;
            }
        }
        if (cell !== "" || rows[rows.length - 1].length)
            rows[rows.length - 1].push(cell);
        return rows.filter(r => r.length > 1 || (r.length === 1 && r[0] !== ""));
    }

    /* A spreadsheet keeps a cell that would start a formula as text when it
     * begins with an apostrophe; the page shows the text itself. */
    const cellText = text => /^'[=+\-@\t\r]/.test(text) ? text.slice(1) : text;

    /* The column head of a field path ("base.terminalAddress"): its label. */
    function heading(path, fields, words) {
        const [group, key] = path.split(".");
        const g = fields[group];
        const f = g && g.fields.find(f => f.key === key);
        return f ? words(g.label) + " " + words(f.label) : path;
    }

    function show(table, csv, fields, words) {
        const rows = parseCsv(csv);
        table.replaceChildren();
        if (!rows.length)
            return 0;
        const head = table.appendChild(element("thead")).appendChild(element("tr"));
        const fixed = { mac: _("MAC地址"), ip: _("IP地址"), name: _("名称") };
        for (const path of rows[0])
            head.append(element("th", { scope: "col", title: path }, fixed[path] || heading(path, fields, words)));
        const body = table.appendChild(element("tbody"));
        for (const row of rows.slice(1)) {
            const tr = body.appendChild(element("tr"));
            row.forEach((cell, i) => tr.append(element(i === 0 ? "th" : "td", i === 0 ? { scope: "row" } : {}, cellText(cell))));
        }
        return rows.length - 1;
    }

    return { parseCsv, show };
})();
