#!/usr/bin/python3
"""The export as a collector opens it: zorv-report --all --format html over the
demo collection, games with crafted texts and two thousand more, opened in
Chromium from file:// with no network. The index loads, searches, sorts,
filters and answers the keyboard; a row opens its page; a page shows its
pictures and puts its lines where the window puts them, laid out with the same
fonts; crafted texts stay text; the console stays clean."""
import argparse
import json
import os
import shutil
import subprocess
import sys
import time
import unittest
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

ARGS = None
WIDTH, HEIGHT = 760, 560  # the window's size in the collection's Zorv.inf
CRAFTED_TITLE = "Crafted <b>&amp</script> \"quoted\" 'single' \x01 end"  # no ";": it ends a field
CRAFTED_MAKER = "Maker <i>&</i>"
CRAFTED_NOTE = "Note <script>window.ran = 1</script> & more"
SYNTHETIC = 2000


def collection(folder):
    """The demo collection at the window's size, with the crafted, mechanical and synthetic games added."""
    demo = Path(ARGS.demo)
    for part in ("datafiles", "pictures"):
        shutil.copytree(demo / part, folder / part)
    # At 10 points (13 pixels) the window's lines are a pixel higher than a browser's own would be.
    inf = (demo / "Zorv.inf").read_bytes().replace(b"Width=1024", b"Width=%d" % WIDTH).replace(b"Size=11", b"Size=10")
    (folder / "Zorv.inf").write_bytes(inf.replace(b"Height=768", b"Height=%d" % HEIGHT))
    notes = (demo / "notes.txt").read_bytes() + b"\r\n[crafted]\r\n" + CRAFTED_NOTE.encode("cp1252") + b"\r\nline two\r\n"
    (folder / "notes.txt").write_bytes(notes)
    index = (folder / "datafiles/index").read_bytes().decode("cp1252").split("\r\n")
    lists = index.index("[Manufacturer]")
    maker = index.index("[Year]") - lists  # the crafted maker's number in the first list, the synthetic one's next
    records = [
        f"crafted;B{CRAFTED_TITLE};S;C{maker};D2;R0;L#;P0;Q0,0;U",
        "slot1;BReels of Fortune;S;C1;D3;W1;R0;L#;P0;Q0,0;U",
    ] + [f"z{i:04d};BSynthetic {i};S{'z0000' if i % 3 else ''};C{maker + 1};D{1 + i % 5};R0;L#;P0;Q0,0;U"
         for i in range(SYNTHETIC)]
    years = index.index("[Year]")
    lines = index[:lists] + records + index[lists:years] + [CRAFTED_MAKER, "Synthetic Works"] + index[years:]
    (folder / "datafiles/index").write_bytes("\r\n".join(lines).encode("cp1252"))


def browser(width, height, profile):
    options = webdriver.ChromeOptions()
    options.binary_location = ARGS.chromium
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--no-first-run", "--hide-scrollbars",
                 f"--user-data-dir={ARGS.work / profile}", f"--window-size={width},{height}"):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service(ARGS.chromedriver), options=options)
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})
    return driver


# Each paragraph of the sheet: its top from the first one's, its height, its lines, the look of its first
# character (as sheet_layout tells the window's).
PAGE_LAYOUT = """
function lookOfFirstText(p) {
  const texts = document.createTreeWalker(p, NodeFilter.SHOW_TEXT, n => n.data.trim() ? 1 : 3);
  const text = texts.nextNode();
  if (!text) return null;
  const style = getComputedStyle(text.parentElement);
  const hex = style.color.match(/\\d+/g).slice(0, 3).map(c => (+c).toString(16).padStart(2, '0')).join('');
  return [parseFloat(style.fontSize), +style.fontWeight >= 600, style.fontStyle == 'italic', '#' + hex];
}
const paragraphs = [...document.querySelectorAll('main.sheet > p')];
const first = paragraphs[0].getBoundingClientRect().top, left = document.querySelector('main.sheet p').getBoundingClientRect().left;
const blocks = paragraphs.map(p => {
  const box = p.getBoundingClientRect(), range = document.createRange();
  range.selectNodeContents(p);
  const rects = [...range.getClientRects()].filter(r => r.height > 0).sort((a, b) => a.top - b.top);
  let lines = 0, bottom = -1e9;
  for (const r of rects) if (r.top >= bottom - 0.5) { ++lines; bottom = r.bottom; } else bottom = Math.max(bottom, r.bottom);
  return [box.top - first, box.height, Math.max(lines, 1), lookOfFirstText(p)];
});
const pictures = [...document.querySelectorAll('main.sheet img')].map(i => {
  const r = i.getBoundingClientRect();
  return [r.left - left, r.top - first, r.width, r.height, i.complete && i.naturalWidth > 0];
});
return {blocks, pictures};
"""


class ExportInBrowser(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(ARGS.work, ignore_errors=True)
        cls.folder = ARGS.work / "collection"
        collection(cls.folder)
        (cls.folder / "zorv-report").symlink_to(ARGS.zorv_report)
        cls.out = ARGS.work / "out"
        done = subprocess.run([cls.folder / "zorv-report", "--all", "--format", "html", "--output-dir", cls.out],
                              cwd=cls.folder, capture_output=True, text=True)
        assert done.returncode == 0, done.stderr
        cls.driver = browser(1280, 900, "index-profile")

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()

    def tearDown(self):
        severe = [entry for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]
        self.assertEqual(severe, [])

    def open_index(self, hash_part=""):
        self.driver.get((self.out / "index.html").as_uri() + hash_part)
        for _ in range(200):
            if self.driver.execute_script("return document.body.classList.contains('ready')"):
                return
            time.sleep(0.02)
        self.fail("the index never became ready")

    def shown_roms(self):
        return [a.text for a in self.driver.find_elements(By.CSS_SELECTOR, "#rows tr:not(.spacer) td:first-child")]

    def test_index_loads_at_once_with_every_game_counted_and_non_games_hidden(self):
        self.open_index()
        loaded = self.driver.execute_script(
            "return performance.getEntriesByType('navigation')[0].domContentLoadedEventEnd")
        self.assertLess(loaded, 1000)
        count = f"{6 + 2 + SYNTHETIC:,}"
        self.assertIn(f"{count} games", self.driver.find_element(By.TAG_NAME, "h1").text)
        self.assertEqual(self.driver.find_element(By.ID, "shown").text, f"{6 + 1 + SYNTHETIC:,} of {count} shown")
        drawn = len(self.driver.find_elements(By.CSS_SELECTOR, "#rows tr:not(.spacer)"))
        self.assertLess(drawn, 100)  # only what comes into view
        self.driver.find_element(By.ID, "not-games").click()
        self.driver.find_element(By.ID, "search").send_keys("reels")
        self.assertEqual(self.shown_roms(), ["slot1"])

    def test_search_sort_and_filters_narrow_and_order_the_rows(self):
        self.open_index()
        search = self.driver.find_element(By.ID, "search")
        search.send_keys("GARGOYLES")
        self.assertEqual(self.shown_roms(), ["gng", "gngj"])
        search.clear()
        search.send_keys("lumen")  # a manufacturer's word
        self.assertEqual(self.shown_roms(), ["gng", "gngj", "starfort"])
        year = self.driver.find_element(By.CSS_SELECTOR, "th button[data-key=year]")
        year.click()
        self.assertEqual(self.shown_roms(), ["gng", "gngj", "starfort"])  # 1985, 1985, 1987
        year.click()
        self.assertEqual(self.shown_roms(), ["starfort", "gngj", "gng"])
        search.clear()
        self.open_index("#q=synthetic+1&from=1983&to=1983&clones=parents")
        years = {row.find_elements(By.TAG_NAME, "td")[2].text for row in
                 self.driver.find_elements(By.CSS_SELECTOR, "#rows tr:not(.spacer)")}
        self.assertEqual(years, {"1983"})
        self.assertTrue(all(int(rom[1:]) % 3 == 0 for rom in self.shown_roms()))
        self.open_index("#m=velvet")
        self.assertEqual(self.shown_roms(), ["nightclb"])

    def test_keyboard_searches_and_opens_a_row(self):
        self.open_index()
        self.driver.execute_script("document.activeElement.blur()")
        ActionChains(self.driver).send_keys("/").perform()
        active = self.driver.switch_to.active_element
        self.assertEqual(active.get_attribute("id"), "search")
        active.send_keys("tiny", Keys.ARROW_DOWN)
        self.driver.switch_to.active_element.send_keys(Keys.ENTER)
        self.assertTrue(self.driver.current_url.endswith("/tinyrace.html"))
        self.assertEqual(self.driver.title, "Tiny Racers")

    def test_a_row_opens_its_page_with_its_pictures_and_links(self):
        self.open_index("#q=gng")
        self.driver.find_element(By.LINK_TEXT, "gngj").click()
        self.assertEqual(self.driver.title, "Graves 'n Gargoyles (Japan)")
        self.assertEqual(self.driver.find_element(By.TAG_NAME, "html").get_attribute("lang"), "en")
        pictures = self.driver.find_elements(By.CSS_SELECTOR, "main img")
        self.assertEqual(len(pictures), 6)
        for picture in pictures:
            self.assertTrue(self.driver.execute_script(
                "const i = arguments[0]; i.loading = 'eager'; return i.decode().then(() => i.naturalWidth > 0 && "
                "i.getBoundingClientRect().width == i.width)", picture))
        self.driver.find_element(By.LINK_TEXT, "gng").click()  # its parent
        self.assertEqual(self.driver.title, "Graves 'n Gargoyles (World)")

    def test_crafted_texts_stay_text_in_pages_and_index(self):
        shown = CRAFTED_TITLE.replace("\x01", "\u2401")
        self.driver.get((self.out / "crafted.html").as_uri())
        self.assertEqual(self.driver.title, shown)
        text = self.driver.find_element(By.CSS_SELECTOR, "main").text
        for part in (shown, CRAFTED_MAKER, CRAFTED_NOTE):
            self.assertIn(part, text)
        self.assertIn(CRAFTED_NOTE + "\nline two", text)  # the notes' lines stay lines
        self.assertEqual(self.driver.find_elements(By.CSS_SELECTOR, "main b, main i, main script"), [])
        self.assertIsNone(self.driver.execute_script("return window.ran"))
        self.open_index("#q=crafted")
        cells = self.driver.find_elements(By.CSS_SELECTOR, "#rows tr:not(.spacer) td")
        self.assertEqual([cells[1].text, cells[3].text], [shown, CRAFTED_MAKER])

    def test_pages_put_their_lines_and_pictures_where_the_window_does(self):
        driver = browser(WIDTH, HEIGHT, "page-profile")
        try:
            for rom in ("gng", "crafted", "tinyrace"):
                window = json.loads(subprocess.run([ARGS.sheet_layout, self.folder, rom], cwd=self.folder,
                                                   capture_output=True, text=True, check=True).stdout)
                driver.get((self.out / f"{rom}.html").as_uri())
                driver.execute_script("for (const i of document.images) i.loading = 'eager';"
                                      "return Promise.all([...document.images].map(i => i.decode()))")
                page = driver.execute_script(PAGE_LAYOUT)
                self.assertEqual(len(page["blocks"]), len(window["blocks"]), rom)
                for number, (ours, its) in enumerate(zip(page["blocks"], window["blocks"])):
                    self.assertLessEqual(abs(ours[0] - its[0]), 3, f"{rom}, paragraph {number}: {ours} {its}")
                    self.assertEqual(ours[2], its[2], f"{rom}, paragraph {number}: lines")
                    self.assertEqual(ours[3], its[3], f"{rom}, paragraph {number}: size, bold, italic, colour")
                self.assertEqual(len(page["pictures"]), len(window["pictures"]), rom)
                for ours, its in zip(page["pictures"], window["pictures"]):
                    self.assertTrue(ours[4], f"{rom}: a picture that did not load")
                    self.assertEqual(ours[2:4], its[2:4], rom)
                    self.assertLessEqual(max(abs(ours[0] - its[0]), abs(ours[1] - its[1])), 3, f"{rom}: {ours} {its}")
            self.assertEqual([e for e in driver.get_log("browser") if e["level"] == "SEVERE"], [])
        finally:
            driver.quit()


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    for option in ("zorv-report", "sheet-layout", "demo", "chromium", "chromedriver", "work"):
        parser.add_argument("--" + option, required=True)
    ARGS, rest = parser.parse_known_args()
    ARGS.work = Path(ARGS.work)
    for tool in (ARGS.chromium, ARGS.chromedriver):
        if not os.access(tool, os.X_OK):
            sys.exit(f"{tool}: not found; scripts/setup.sh installs chromium and chromium-driver")
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
