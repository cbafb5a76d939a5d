#!/usr/bin/python3
"""The browser page in real Chromium, served by cockpit-ws beside simulated
hosts (run by cockpit_page_test.sh inside a private network namespace).

    cockpit_page_test.py PORT CLI
"""
import glob
import json
import os
import subprocess
import sys
import tempfile
import unittest

from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.support import expected_conditions as seen
from selenium.webdriver.support.ui import WebDriverWait

PORT, CLI = sys.argv[1], sys.argv[2]
PAGE = f"http://127.0.0.1:{PORT}/cockpit/@localhost/quendra/index.html"
HOST1 = "02-4B-7D-00-00-01"
HOSTILE = "<img src=x onerror=alert(1)>"  # what host 3 calls itself (cockpit_page_test.sh)


DOWNLOADS = tempfile.mkdtemp()


def cli(*args):
    return subprocess.run([CLI, *args], capture_output=True, text=True, timeout=60)


class Page(unittest.TestCase):
    language = "zh-CN"

    @classmethod
    def setUpClass(cls):
        options = webdriver.ChromeOptions()
        for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1280,900", f"--lang={cls.language}"):
            options.add_argument(a)
        options.add_experimental_option("prefs", {"intl.accept_languages": cls.language, "download.default_directory": DOWNLOADS})
        cls.driver = webdriver.Chrome(options=options)
        cls.wait = WebDriverWait(cls.driver, 20)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()

    def open(self):
        self.driver.get(PAGE)
        return self.wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, "#hosts tr.quendra-host"))

    def text(self, element_id):
        return self.driver.find_element(By.ID, element_id).text

    def type_field(self, key, text):
        field = self.driver.find_element(By.ID, f"field-{key}")
        field.clear()
        field.send_keys(text)

    def choose_and_read(self, mac, group):
        row = next(r for r in self.open() if r.get_attribute("data-mac") == mac)
        row.click()
        self.driver.find_element(By.CSS_SELECTOR, f"#group option[value='{group}']").click()
        self.driver.find_element(By.ID, "read").click()
        self.wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, "#fields input"))


class ChinesePage(Page):
    def test_search_lists_every_simulated_host_with_its_identity(self):
        rows = [[c.text for c in r.find_elements(By.TAG_NAME, "td")] for r in self.open()]
        self.assertIn(["192.168.1.10", "模拟主机1", HOST1, "710", "127.0.0.1", ""], rows)
        self.assertEqual(len(rows), 3)
        # a host's name is text: shown as it came, never an element of the page, nothing run
        self.assertIn(["192.168.1.12", HOSTILE, "02-4B-7D-00-00-03", "712", "127.0.0.1", ""], rows)
        self.assertEqual(self.driver.find_elements(By.CSS_SELECTOR, "#hosts img"), [])
        self.assertEqual(self.driver.execute_script("return document.querySelectorAll('img').length"), 0)
        self.assertEqual(self.driver.title, "Quendra 主机配置")

    def test_a_base_field_changed_and_written_reaches_the_host_after_the_compare_list(self):
        self.choose_and_read(HOST1, "base")
        self.type_field("dataInterval", "240")
        self.driver.find_element(By.ID, "write").click()
        compare = self.wait.until(seen.visibility_of_element_located((By.ID, "compare")))
        self.assertIn("240", compare.text)
        # nothing is sent before the operator confirms the compare list
        self.assertEqual(json.loads(cli("read", HOST1, "base").stdout)["base"]["fields"]["dataInterval"], 300)
        self.driver.find_element(By.ID, "confirm-write").click()
        self.wait.until(lambda d: "写入并校验成功" in self.text("host-state"))
        self.assertEqual(json.loads(cli("read", HOST1, "base").stdout)["base"]["fields"]["dataInterval"], 240)

    def test_a_write_is_undone_from_the_history_through_the_compare_list(self):
        host = "02-4B-7D-00-00-02"
        self.choose_and_read(host, "base")
        self.type_field("loginInterval", "90")
        self.driver.find_element(By.ID, "write").click()
        self.wait.until(seen.element_to_be_clickable((By.ID, "confirm-write"))).click()
        self.wait.until(lambda d: "写入并校验成功" in self.text("host-state"))
        self.driver.find_element(By.ID, "history").click()
        restore = self.wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, "#history-rows button"))
        restore[0].click()  # the newest: what the host held before that write
        compare = self.wait.until(seen.visibility_of_element_located((By.ID, "compare")))
        self.assertIn("90", compare.text)
        self.driver.find_element(By.ID, "confirm-write").click()
        self.wait.until(lambda d: "写入并校验成功" in self.text("host-state"))
        self.wait.until(lambda _: json.loads(cli("read", host, "base").stdout)["base"]["fields"]["loginInterval"] == 60)

    def test_a_value_the_form_refuses_is_named_with_its_field_and_nothing_is_sent(self):
        self.choose_and_read("02-4B-7D-00-00-02", "base")
        before = cli("read", "02-4B-7D-00-00-02", "base").stdout
        self.type_field("terminalAddress", "XYZ")
        self.driver.find_element(By.ID, "write").click()
        problem = self.wait.until(seen.visibility_of_element_located((By.ID, "problem")))
        self.assertIn("终端地址", problem.text)
        self.assertIn("XYZ", problem.text)
        self.assertTrue(self.driver.find_element(By.ID, "compare").get_attribute("hidden"))
        self.assertEqual(cli("read", "02-4B-7D-00-00-02", "base").stdout.split('"savedAt"')[0],
                         before.split('"savedAt"')[0])


    def test_a_block_pasted_from_a_spreadsheet_fills_the_channel_table_or_nothing_at_all(self):
        self.choose_and_read(HOST1, "channels")
        paste = """const dt = new DataTransfer(); dt.setData('text/plain', arguments[1]);
                   arguments[0].dispatchEvent(new ClipboardEvent('paste', {clipboardData: dt, bubbles: true}));"""
        cell = lambda row, key: self.driver.find_element(By.CSS_SELECTOR, f"[data-record='{row}'][data-key='{key}']")
        self.driver.execute_script(paste, cell(0, "upperLimit1"), "55\t-5\r\n66\t-6\r\n")
        self.assertEqual([cell(r, k).get_attribute("value") for r in (0, 1) for k in ("upperLimit1", "lowerLimit1")],
                         ["55", "-5", "66", "-6"])
        # a block reaching beyond the last channel is refused whole
        self.driver.execute_script(paste, cell(31, "upperLimit1"), "1\n2\n")
        self.assertIn("超出表格", self.text("problem"))
        self.assertEqual(cell(31, "upperLimit1").get_attribute("value"), "71")

    def test_the_fleet_table_shows_every_host_then_a_roster_is_tried_per_host_and_applied(self):
        self.open()
        self.driver.find_element(By.ID, "fleet-table").click()
        table = self.wait.until(seen.visibility_of_element_located((By.ID, "fleet-table-view")))
        self.wait.until(lambda d: len(table.find_elements(By.CSS_SELECTOR, "tbody tr")) == 3)
        self.assertIn("基础参数 终端地址：", table.find_element(By.TAG_NAME, "thead").text)
        self.assertIn("20250002", table.find_elements(By.CSS_SELECTOR, "tbody tr")[1].text)
        roster = os.path.join(DOWNLOADS, "roster.csv")
        with open(roster, "w", encoding="utf-8") as f:
            f.write("mac,base.dataInterval\r\n02-4B-7D-00-00-03,180\r\n")
        self.driver.find_element(By.ID, "roster-file").send_keys(roster)
        apply = self.wait.until(seen.visibility_of_element_located((By.ID, "roster-apply")))
        row = lambda: self.driver.find_element(By.CSS_SELECTOR, "#job-rows tr[data-mac='02-4B-7D-00-00-03']")
        self.assertIn("1 个记录不同", row().text)
        self.assertEqual(json.loads(cli("read", "02-4B-7D-00-00-03", "base").stdout)["base"]["fields"]["dataInterval"], 300)
        apply.click()
        self.wait.until(lambda d: row().get_attribute("data-status") == "verified")
        self.assertEqual(json.loads(cli("read", "02-4B-7D-00-00-03", "base").stdout)["base"]["fields"]["dataInterval"], 180)

    def test_the_report_of_a_host_with_a_hostile_name_downloads_as_a_pdf_naming_it(self):
        self.choose_and_read("02-4B-7D-00-00-03", "base")
        self.assertEqual(self.text("host-title"), HOSTILE + " (02-4B-7D-00-00-03, 192.168.1.12)")
        self.driver.find_element(By.ID, "report-pdf").click()
        report = os.path.join(DOWNLOADS, "report-024B7D000003-*.pdf")  # once the browser has written it whole
        pdf = WebDriverWait(None, 30).until(lambda _: [f for f in glob.glob(report) if not f.endswith(".crdownload")])[0]
        text = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, text=True).stdout
        self.assertIn(HOSTILE, text)
        self.assertIn("20250003", text)


class EnglishPage(Page):
    language = "en-US"

    def test_the_page_speaks_english_when_the_session_does(self):
        self.choose_and_read(HOST1, "base")
        self.assertEqual(self.driver.title, "Quendra hosts")
        # every word of the page is English; only the hosts' own names stay Chinese
        shown = self.driver.execute_script("""
            const copy = document.body.cloneNode(true);
            copy.querySelectorAll('#hosts tbody, #host-title').forEach(e => e.remove());
            return copy.innerText + [...copy.querySelectorAll('[aria-label]')].map(e => e.getAttribute('aria-label')).join(' ');""")
        self.assertNotRegex(shown, "[\u3000-\u9fff\uff00-\uffef]")
        self.assertIn("Device parameters read successfully!", shown)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
