/* One parameter group of a host as a form, built from what `quendra-cli
 * fields --json` says of each field: its label as the window's page shows it,
 * a drop-down for a list, a check box, the range of a number and the GBK byte
 * limit of a text, and for channels the data properties that use a field (the
 * others are greyed out, as on the page). An object group is one record;
 * channels, ModBus slots and relays are a table, a row per record.
 *
 * The configuration as the host sent it is kept whole; only the values the
 * operator changed replace the "fields" the host reported, so every byte no
 * field names goes back to the host unchanged. */
"use strict";

window.HostForm = (function () {
    /* Groups as quendra-cli names them, with the tab texts of the window. */
    const GROUPS = [
        ["network", "网口参数"], ["gprs", "GPRS参数"], ["base", "基础参数"], ["channels", "通道参数"],
        ["modbus", "ModBus参数"], ["relays", "继电器参数"], ["led", "LED屏参数"],
    ];

    function element(tag, attributes, text) {
        const e = document.createElement(tag);
        for (const [name, value] of Object.entries(attributes || {}))
            e.setAttribute(name, value);
        if (text !== undefined)
            e.textContent = text; // always as text: host values are data, never markup
        return e;
    }

    const words = text => (text && (pageIsEnglish() ? text.en : text.zh)) || "";

    /* GBK holds ASCII in one byte and every other character it knows in two;
     * a character it cannot hold is refused by quendra-cli. */
    const gbkBytes = text => [...text].reduce((n, c) => n + (c.codePointAt(0) < 0x80 ? 1 : 2), 0);

    /* Why TEXT cannot be FIELD's value; "" when it can. */
    function problemWith(field, text) {
        const t = text.trim();
        switch (field.kind) {
        case "integer":
            if (!/^\d+$/.test(t) || Number(t) < field.min || Number(t) > field.max)
                return cockpit.format(_("应为 $0～$1 的整数"), field.min, field.max);
            return "";
        case "real":
            return t === "" || !Number.isFinite(Number(t)) ? _("应为数字") : "";
        case "hex32":
            return /^[0-9A-Fa-f]{8}$/.test(t) ? "" : _("应为8位十六进制数");
        case "ipv4":
            return /^(\d{1,3})\.(\d{1,3})\.(\d{1,3})\.(\d{1,3})$/.test(t) && t.split(".").every(p => Number(p) <= 255)
                ? "" : _("应为IP地址（四段0～255）");
        case "text":
            return gbkBytes(text) > field.maxBytes ? cockpit.format(_("超过 $0 字节"), field.maxBytes) : "";
        default:
            return "";
        }
    }

    /* An input for FIELD showing VALUE; `.value()` gives it back in the kind
     * the configuration file holds. */
    function control(field, value, label) {
        let e;
        if (field.kind === "check") {
            e = element("input", { type: "checkbox", class: "quendra-check", "aria-label": label });
            e.checked = value === 1;
            e.read = () => e.checked ? 1 : 0;
        } else if (field.kind === "list") {
            e = element("select", { class: "pf-v6-c-form-control quendra-input", "aria-label": label });
            field.choices.forEach((choice, row) => e.append(element("option", { value: String(row) }, words(choice))));
            if (typeof value === "number" && value >= field.choices.length) // a value beyond the list keeps its number
                e.append(element("option", { value: String(value) }, String(value)));
            e.value = String(value);
            e.read = () => Number(e.value);
        } else {
            e = element("input", { type: "text", class: "pf-v6-c-form-control quendra-input", "aria-label": label });
            e.value = value === null || value === undefined ? "" : String(value);
            const numeric = field.kind === "integer" || field.kind === "real";
            e.read = () => numeric ? Number(e.value.trim()) : (field.kind === "text" ? e.value : e.value.trim());
            e.addEventListener("input", () => e.setAttribute("aria-invalid", problemWith(field, e.value) ? "true" : "false"));
        }
        e.dataset.key = field.key;
        e.dataset.shown = String(e.read());
        return e;
    }

    const changed = e => String(e.read()) !== e.dataset.shown;

    /* Greys out the channel fields the data property DATA leaves unused, as
     * the channel page does; ALLOWALL is "允许编辑所有参数". */
    function applyChannelRules(controls, fields, allowAll) {
        const property = controls.dataProperty ? Number(controls.dataProperty.value) : null;
        for (const f of fields) {
            if (!f.enabled || !controls[f.key])
                continue;
            const on = f.enabled.dataPropertyRows.includes(property) && (!f.enabled.needsAllowAll || allowAll);
            controls[f.key].disabled = !on;
        }
    }

    /* Shows GROUP of CONFIG (a host configuration as `quendra-cli read`
     * prints it) in FORM, with the group's description GROUPDESC. Returns
     * {edited, problems}: the configuration with the operator's changes, and
     * what is wrong with them (empty when nothing is). */
    /* The value a pasted cell's TEXT gives field F: a list's row by its
     * text or number; undefined when the cell cannot take it. */
    function pastedValue(f, text) {
        const t = text.trim();
        if (f.kind === "list" || f.kind === "check") {
            const row = f.choices.findIndex(c => c.zh === t || c.en === t);
            if (row >= 0)
                return String(row);
            return /^\d+$/.test(t) && Number(t) < f.choices.length ? t : undefined;
        }
        return problemWith(f, text) ? undefined : text;
    }

    /* A block copied from a spreadsheet (tab-separated lines) pasted at the
     * cell E: taken whole or, when it reaches beyond the table or holds a
     * value a cell refuses, not at all. The data property of a line goes in
     * first, so the cells it opens take their values; cells it keeps closed
     * are left as they were and counted. */
    function pasteBlock(e, text, fields, controls, rules, notify) {
        const lines = text.replace(/\r\n?/g, "\n").replace(/\n$/, "").split("\n").map(l => l.split("\t"));
        const row0 = Number(e.dataset.record), col0 = fields.findIndex(f => f.key === e.dataset.key);
        if (row0 + lines.length > controls.length || lines.some(l => col0 + l.length > fields.length))
            return notify(_("粘贴的内容超出表格，没有粘贴"));
        const plan = [];
        for (const [i, line] of lines.entries()) {
            for (const [j, text] of line.entries()) {
                const f = fields[col0 + j];
                const value = pastedValue(f, text);
                if (value === undefined)
                    return notify(cockpit.format(_("“$0”不能填入 $1，没有粘贴"), text, words(f.label)));
                plan.push({ control: controls[row0 + i][f.key], value, first: f.key === "dataProperty" });
            }
        }
        let skipped = 0;
        for (const step of plan.filter(p => p.first).concat(plan.filter(p => !p.first))) {
            rules();
            if (step.control.disabled) {
                skipped++;
                continue;
            }
            if (step.control.type === "checkbox")
                step.control.checked = step.value === "1";
            else
                step.control.value = step.value;
        }
        rules();
        notify(skipped ? cockpit.format(_("已粘贴；$0 个单元格未启用，保持原值"), skipped) : _("已粘贴"), true);
    }

    function show(form, config, group, groupDesc, notify) {
        form.replaceChildren();
        if (!config[group]) {
            form.append(element("p", {}, _("主机没有送来这组参数")));
            return { edited: () => config, problems: () => [] };
        }
        const batch = Array.isArray(config[group]);
        const records = batch ? config[group] : [config[group]];
        const fields = groupDesc.fields.filter(f => f.key in (records[0].fields || {}));
        const controls = records.map(() => ({}));
        const recordName = index => batch ? words(groupDesc.recordLabels).replace("{n}", String(index + 1)) : words(groupDesc.label);
        const allowAll = element("input", { type: "checkbox", id: "allow-all", "aria-label": _("允许编辑所有参数") });
        const rules = () => group === "channels" && controls.forEach(c => applyChannelRules(c, fields, allowAll.checked));

        if (group === "channels") {
            const row = element("label", { class: "quendra-allow-all" });
            row.append(allowAll, element("span", {}, _("允许编辑所有参数")));
            allowAll.addEventListener("change", rules);
            form.append(row);
        }
        if (!batch) {
            for (const f of fields) {
                const id = "field-" + f.key;
                const e = control(f, records[0].fields[f.key], words(f.label));
                e.id = id;
                controls[0][f.key] = e;
                const line = element("div", { class: "pf-v6-c-form__group quendra-field" });
                line.append(element("label", { class: "pf-v6-c-form__label", for: id }, words(f.label)), e);
                form.append(line);
            }
        } else {
            const table = element("table", { class: "quendra-records" });
            const head = table.appendChild(element("thead")).appendChild(element("tr"));
            head.append(element("th", { scope: "col" }, ""));
            for (const f of fields)
                head.append(element("th", { scope: "col", title: f.path }, words(f.label)));
            const body = table.appendChild(element("tbody"));
            records.forEach((record, index) => {
                const row = body.appendChild(element("tr"));
                row.append(element("th", { scope: "row" }, recordName(index)));
                for (const f of fields) {
                    const e = control(f, record.fields[f.key], recordName(index) + " " + words(f.label));
                    e.dataset.record = String(index);
                    controls[index][f.key] = e;
                    row.appendChild(element("td")).append(e);
                }
            });
            form.append(table);
            table.addEventListener("paste", ev => {
                const text = ev.clipboardData.getData("text/plain");
                if (!ev.target.dataset.record || !/[\t\n]/.test(text.replace(/\r?\n$/, "")))
                    return; // one value: the browser pastes it into the cell
                ev.preventDefault();
                pasteBlock(ev.target, text, fields, controls, rules, notify);
            });
        }
        for (const c of controls)
            if (c.dataProperty)
                c.dataProperty.addEventListener("change", rules);
        rules();

        return {
            problems() {
                const found = [];
                controls.forEach((c, index) => {
                    for (const f of fields) {
                        const e = c[f.key];
                        const why = changed(e) && e.tagName === "INPUT" && e.type === "text" ? problemWith(f, e.value) : "";
                        if (why)
                            found.push(cockpit.format("$0 $1“$2”$3", recordName(index), words(f.label), e.value, why));
                    }
                });
                return found;
            },
            edited() {
                const copy = JSON.parse(JSON.stringify(config));
                const target = batch ? copy[group] : [copy[group]];
                target.forEach((record, index) => {
                    for (const [key, e] of Object.entries(controls[index]))
                        if (changed(e))
                            record.fields[key] = e.read();
                });
                return copy;
            },
        };
    }

    return { GROUPS, show, element };
})();
