/* One parameter group of a host as a form: a field per named value of the
 * group's records (an object group has one record, channels, ModBus slots and
 * relays a row per record). The configuration as the host sent it is kept
 * whole; only the values the operator typed replace the "fields" the host
 * reported, so every byte no field names goes back to the host unchanged. */
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

    function input(value, label) {
        const e = element("input", { class: "pf-v6-c-form-control quendra-input", type: "text", "aria-label": label });
        e.value = value === null || value === undefined ? "" : String(value);
        e.dataset.kind = typeof value;
        e.dataset.shown = e.value;
        return e;
    }

    /* The value typed into E, in the kind the host reported. */
    function typed(e) {
        if (e.dataset.kind === "number") {
            const n = Number(e.value.trim());
            return e.value.trim() === "" || Number.isNaN(n) ? e.value : n;
        }
        return e.value;
    }

    /* Shows GROUP of CONFIG (a host configuration as `quendra-cli read` prints
     * it) in FORM; returns what reads the edited configuration back. */
    function show(form, config, group) {
        form.replaceChildren();
        const records = Array.isArray(config[group]) ? config[group] : [config[group]];
        const inputs = records.map(() => ({}));
        if (!config[group]) {
            form.append(element("p", {}, _("主机没有送来这组参数")));
            return () => config;
        }
        const keys = Object.keys(records[0].fields || {});
        if (records.length === 1 && !Array.isArray(config[group])) {
            for (const key of keys) {
                const id = "field-" + key;
                const row = element("div", { class: "pf-v6-c-form__group quendra-field" });
                row.append(element("label", { class: "pf-v6-c-form__label", for: id }, key));
                const e = input(records[0].fields[key], key);
                e.id = id;
                inputs[0][key] = e;
                row.append(e);
                form.append(row);
            }
        } else {
            const table = element("table", { class: "pf-v6-c-table pf-m-compact quendra-records" });
            const head = element("tr");
            head.append(element("th", {}, "#"));
            for (const key of keys)
                head.append(element("th", { scope: "col" }, key));
            table.append(element("thead")).append(head);
            const body = table.appendChild(element("tbody"));
            records.forEach((record, index) => {
                const row = element("tr");
                row.append(element("th", { scope: "row" }, String(index + 1)));
                for (const key of keys) {
                    const cell = element("td");
                    const e = input(record.fields[key], key + " " + (index + 1));
                    inputs[index][key] = e;
                    cell.append(e);
                    row.append(cell);
                }
                body.append(row);
            });
            form.append(table);
        }

        return function edited() {
            const copy = JSON.parse(JSON.stringify(config));
            const target = Array.isArray(copy[group]) ? copy[group] : [copy[group]];
            target.forEach((record, index) => {
                for (const [key, e] of Object.entries(inputs[index])) {
                    if (e.value !== e.dataset.shown)
                        record.fields[key] = typed(e);
                }
            });
            return copy;
        };
    }

    return { GROUPS, show, element };
})();
