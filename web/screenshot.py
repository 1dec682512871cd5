#!/usr/bin/python3
"""docs/web.png: the page in headless Chromium, a run of 100 points from seed
2024 opened from its address, at step 4 of the replay, the method beside it (A).

usage: screenshot.py PAGE.html OUT.png
"""
import os
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

options = webdriver.ChromeOptions()
for a in ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
          "--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-first-run",
          "--hide-scrollbars", "--window-size=1060,920", "--user-data-dir=" + tempfile.mkdtemp(prefix="omotac-shot-")]:
    options.add_argument(a)
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
try:
    driver.get("file://" + os.path.abspath(sys.argv[1]) + "?n=100&seed=2024")
    WebDriverWait(driver, 20).until(lambda d: d.execute_script("return Module._omotac_frames() >= 1"))
    driver.find_element(By.ID, "canvas").send_keys(Keys.HOME, *[Keys.ARROW_RIGHT] * 4, "a")
    WebDriverWait(driver, 5).until(lambda d: "Korak 4" in d.find_element(By.ID, "text").text)
    driver.execute_script("document.activeElement.blur(); window.scrollTo(0, 0)")
    driver.save_screenshot(sys.argv[2])
finally:
    driver.quit()
