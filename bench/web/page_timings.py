#!/usr/bin/python3
"""Times the browser page in Chromium against simulated hosts (run by
scripts/bench-web inside a private network namespace):
  - page opened to hosts listed (the page searches at once; quendra-cli's
    search listens for 1.5 s), aim: the search time plus 0.5 s;
  - a single group (base) read: click to form shown, aim: 300 ms;
  - the fleet table of every host: click to table shown, aim: 2 s.
Each is the median of RUNS runs, printed with the worst.

    page_timings.py PORT HOSTS RUNS
"""
import statistics
import sys
import time

from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

PORT, HOSTS, RUNS = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
PAGE = f"http://127.0.0.1:{PORT}/cockpit/@localhost/quendra/index.html"

options = webdriver.ChromeOptions()
for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--lang=zh-CN"):
    options.add_argument(a)
driver = webdriver.Chrome(options=options)
wait = WebDriverWait(driver, 60, poll_frequency=0.01)
rows = lambda d: d.find_elements(By.CSS_SELECTOR, "#hosts tr.quendra-host")
timings = {"page open to hosts listed": [], "base group read shown": [], f"fleet table of {HOSTS} hosts shown": []}

for _ in range(RUNS):
    t0 = time.monotonic()
    driver.get(PAGE)
    wait.until(lambda d: len(rows(d)) == HOSTS)
    timings["page open to hosts listed"].append(time.monotonic() - t0)

    rows(driver)[0].click()
    driver.find_element(By.CSS_SELECTOR, "#group option[value='base']").click()
    t0 = time.monotonic()
    driver.find_element(By.ID, "read").click()
    wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, "#fields input"))
    timings["base group read shown"].append(time.monotonic() - t0)

    t0 = time.monotonic()
    driver.find_element(By.ID, "fleet-table").click()
    wait.until(lambda d: len(d.find_elements(By.CSS_SELECTOR, "#fleet-table-view tbody tr")) == HOSTS)
    timings[f"fleet table of {HOSTS} hosts shown"].append(time.monotonic() - t0)
driver.quit()

for name, values in timings.items():
    print(f"{name:34} median {statistics.median(values) * 1000:7.0f} ms   worst {max(values) * 1000:7.0f} ms")
