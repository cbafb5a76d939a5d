#!/usr/bin/python3
"""Renders the browser page in headless Chromium for the README (run by
scripts/screenshots --web inside a private network namespace).

    web-screenshots.py PORT OUTDIR
"""
import os
import sys

from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

PORT, OUT = sys.argv[1], sys.argv[2]
PAGE = f"http://127.0.0.1:{PORT}/cockpit/@localhost/quendra/index.html"

# (file, language, group shown)
SHOTS = [("web-page.png", "zh-CN", "base"), ("web-channels.png", "zh-CN", "channels"),
         ("en/web-page.png", "en-US", "network")]

for name, language, group in SHOTS:
    options = webdriver.ChromeOptions()
    for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1280,860", f"--lang={language}"):
        options.add_argument(a)
    options.add_experimental_option("prefs", {"intl.accept_languages": language})
    driver = webdriver.Chrome(options=options)
    wait = WebDriverWait(driver, 60)
    driver.get(PAGE)
    wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, "#hosts tr.quendra-host"))[0].click()
    driver.find_element(By.CSS_SELECTOR, f"#group option[value='{group}']").click()
    driver.find_element(By.ID, "read").click()
    wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, "#fields input"))
    os.makedirs(os.path.dirname(os.path.join(OUT, name)), exist_ok=True)
    driver.save_screenshot(os.path.join(OUT, name))
    driver.quit()
    print(os.path.join(OUT, name))
