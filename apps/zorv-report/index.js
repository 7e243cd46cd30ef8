// The index of an export: every game in a table that is drawn only where it
// scrolls into view, searched as the user types, sorted by any column and
// filtered. games.js hands the games to zorvGames(). No framework, no network:
// the page works from file:// as it stands.
"use strict";
(function () {
  const ROW_HEIGHT = 28; // pixels; the page's style gives every row this height
  const SPARE_ROWS = 12; // drawn above and below what shows, for smooth scrolling
  const KEYS = ["rom", "title", "year", "manufacturer", "category", "players"];
  const WORDS = {
    en: { shown: (n, all) => `${n} of ${all} shown`, none: "No game matches." },
    fr: { shown: (n, all) => `${n} sur ${all} affichés`, none: "Aucun jeu ne correspond." },
  };
  const words = WORDS[document.documentElement.lang] || WORDS.en;
  const number = new Intl.NumberFormat(document.documentElement.lang);
  const collator = new Intl.Collator(document.documentElement.lang, { sensitivity: "base", numeric: true });
  const $ = (id) => document.getElementById(id);

  let games = [];
  let shown = [];
  let sortKey = "rom";
  let descending = false;
  let selected = -1;
  let drawn = { first: -1, last: -1, count: -1 };
  const ranks = {}; // for each key, every game's place in that order

  function yearNumber(year) {
    const digits = year.replace(/\?/g, "0");
    return /^\d{4}/.test(digits) ? parseInt(digits.slice(0, 4), 10) : NaN;
  }

  function read(data) {
    const lines = data.rows.length ? data.rows.split("\n") : [];
    games = lines.map((line, index) => {
      const f = line.split("\t");
      const game = {
        index,
        rom: f[0],
        title: f[1],
        year: f[2],
        manufacturer: data.manufacturers[+f[3]],
        category: data.categories[+f[4]],
        players: data.players[+f[5]],
        parent: f[6],
        kind: +f[7],
        file: f[8] === "=" ? f[0] + ".html" : f[8],
      };
      game.yearNumber = yearNumber(game.year);
      game.search = (game.rom + "\n" + game.title + "\n" + game.manufacturer).toLowerCase();
      return game;
    });
  }

  function fillChoices(select, values) {
    const fragment = document.createDocumentFragment();
    for (const value of [...new Set(values)].filter((v) => v !== "").sort(collator.compare)) {
      fragment.appendChild(new Option(value, value));
    }
    select.appendChild(fragment);
  }

  function rankOf(key) {
    if (!ranks[key]) {
      const order = games.slice();
      order.sort((a, b) => collator.compare(a[key], b[key]) || a.index - b.index);
      const rank = new Int32Array(games.length);
      order.forEach((game, place) => (rank[game.index] = place));
      ranks[key] = rank;
    }
    return ranks[key];
  }

  function passes() {
    const terms = $("search").value.toLowerCase().split(/\s+/).filter(Boolean);
    const from = parseInt($("year-from").value, 10);
    const to = parseInt($("year-to").value, 10);
    const manufacturer = $("manufacturer").value;
    const category = $("category").value;
    const clones = $("clones").value;
    const everything = $("not-games").checked;
    return (game) =>
      (everything || game.kind === 0) &&
      (!manufacturer || game.manufacturer === manufacturer) &&
      (!category || game.category === category) &&
      (clones !== "parents" || !game.parent) &&
      (clones !== "clones" || game.parent) &&
      (isNaN(from) || game.yearNumber >= from) &&
      (isNaN(to) || game.yearNumber <= to) &&
      terms.every((term) => game.search.includes(term));
  }

  function apply() {
    shown = games.filter(passes());
    const rank = rankOf(sortKey);
    const direction = descending ? -1 : 1;
    shown.sort((a, b) => direction * (rank[a.index] - rank[b.index]));
    selected = Math.min(selected, shown.length - 1);
    $("shown").textContent = shown.length ? words.shown(number.format(shown.length), number.format(games.length)) : words.none;
    for (const button of document.querySelectorAll("th button")) {
      const sorted = button.dataset.key === sortKey;
      button.parentElement.setAttribute("aria-sort", sorted ? (descending ? "descending" : "ascending") : "none");
    }
    drawn = { first: -1, last: -1, count: -1 };
    draw();
    remember();
  }

  function cell(text) {
    const td = document.createElement("td");
    td.textContent = text;
    td.title = text;
    return td;
  }

  function row(game, place) {
    const tr = document.createElement("tr");
    tr.dataset.place = place;
    tr.tabIndex = -1;
    if (place === selected) tr.className = "selected";
    const name = document.createElement("td");
    if (game.file) {
      const link = document.createElement("a");
      link.href = encodeURIComponent(game.file);
      link.textContent = game.rom;
      name.appendChild(link);
    } else {
      name.textContent = game.rom;
    }
    if (game.parent) name.classList.add("clone");
    tr.appendChild(name);
    for (const key of KEYS.slice(1)) tr.appendChild(cell(game[key]));
    return tr;
  }

  function spacer(rows) {
    const tr = document.createElement("tr");
    tr.className = "spacer";
    tr.style.height = rows * ROW_HEIGHT + "px";
    return tr;
  }

  // Draws the rows in view and a few around them; the rest is two spacers.
  function draw() {
    const body = $("rows");
    const top = body.getBoundingClientRect().top;
    const first = Math.min(shown.length, Math.max(0, Math.floor(-top / ROW_HEIGHT) - SPARE_ROWS));
    const last = Math.max(first, Math.min(shown.length, Math.ceil((window.innerHeight - top) / ROW_HEIGHT) + SPARE_ROWS));
    if (first === drawn.first && last === drawn.last && shown.length === drawn.count) return;
    const hadFocus = body.contains(document.activeElement);
    const fragment = document.createDocumentFragment();
    fragment.appendChild(spacer(first));
    for (let place = first; place < last; ++place) fragment.appendChild(row(shown[place], place));
    fragment.appendChild(spacer(shown.length - last));
    body.replaceChildren(fragment);
    drawn = { first, last, count: shown.length };
    if (hadFocus) focusSelected();
  }

  let drawPending = false;
  function drawSoon() {
    if (drawPending) return;
    drawPending = true;
    requestAnimationFrame(() => {
      drawPending = false;
      draw();
    });
  }

  function focusSelected() {
    const tr = $("rows").querySelector(`tr[data-place="${selected}"]`);
    if (!tr) return;
    (tr.querySelector("a") || tr).focus({ preventScroll: true });
  }

  // Moves the selection to a place in the list, scrolling it into view.
  function select(place) {
    if (!shown.length) return;
    selected = Math.max(0, Math.min(shown.length - 1, place));
    const body = $("rows");
    const rowTop = body.getBoundingClientRect().top + window.scrollY + selected * ROW_HEIGHT;
    const headHeight = document.querySelector("thead").getBoundingClientRect().height;
    if (rowTop - headHeight < window.scrollY) window.scrollTo(0, rowTop - headHeight);
    else if (rowTop + ROW_HEIGHT > window.scrollY + window.innerHeight) window.scrollTo(0, rowTop + ROW_HEIGHT - window.innerHeight);
    drawn.first = -1;
    draw();
    focusSelected();
  }

  function onListKey(event) {
    const page = Math.max(1, Math.floor(window.innerHeight / ROW_HEIGHT) - 2);
    const moves = { ArrowDown: 1, ArrowUp: -1, PageDown: page, PageUp: -page };
    if (event.key in moves) select(selected + moves[event.key]);
    else if (event.key === "Home") select(0);
    else if (event.key === "End") select(shown.length - 1);
    else if (event.key === "Escape") $("search").focus();
    else return;
    event.preventDefault();
  }

  // Where the list was scrolled to, for the way back from a game's page. A
  // browser may refuse storage to a file:// page; the list then starts at its top.
  function keep(name, value) {
    try {
      sessionStorage.setItem(name, value);
    } catch {}
  }
  function kept(name) {
    try {
      return sessionStorage.getItem(name);
    } catch {
      return null;
    }
  }

  function remember() {
    const state = new URLSearchParams();
    const fields = { q: "search", from: "year-from", to: "year-to", m: "manufacturer", c: "category", clones: "clones" };
    for (const [name, id] of Object.entries(fields)) if ($(id).value) state.set(name, $(id).value);
    if ($("not-games").checked) state.set("all", "1");
    if (sortKey !== "rom") state.set("sort", sortKey);
    if (descending) state.set("desc", "1");
    history.replaceState(null, "", state.toString() ? "#" + state : location.pathname);
  }

  function recall() {
    const state = new URLSearchParams(location.hash.slice(1));
    const fields = { q: "search", from: "year-from", to: "year-to", m: "manufacturer", c: "category", clones: "clones" };
    for (const [name, id] of Object.entries(fields)) if (state.has(name)) $(id).value = state.get(name);
    $("not-games").checked = state.get("all") === "1";
    if (KEYS.includes(state.get("sort"))) sortKey = state.get("sort");
    descending = state.get("desc") === "1";
  }

  window.zorvGames = function (data) {
    read(data);
    fillChoices($("manufacturer"), games.map((g) => g.manufacturer));
    fillChoices($("category"), games.map((g) => g.category));
    recall();
    for (const id of ["search", "year-from", "year-to"]) $(id).addEventListener("input", apply);
    for (const id of ["manufacturer", "category", "clones", "not-games"]) $(id).addEventListener("change", apply);
    for (const button of document.querySelectorAll("th button")) {
      button.addEventListener("click", () => {
        descending = button.dataset.key === sortKey ? !descending : false;
        sortKey = button.dataset.key;
        apply();
      });
    }
    $("search").addEventListener("keydown", (event) => {
      if (event.key === "ArrowDown" || event.key === "Enter") {
        event.preventDefault();
        select(Math.max(selected, 0));
      }
    });
    $("rows").addEventListener("keydown", onListKey);
    $("rows").addEventListener("focusin", (event) => {
      const tr = event.target.closest("tr[data-place]");
      if (!tr || +tr.dataset.place === selected) return;
      $("rows").querySelector("tr.selected")?.classList.remove("selected");
      selected = +tr.dataset.place;
      tr.classList.add("selected");
    });
    document.addEventListener("keydown", (event) => {
      if (event.key === "/" && !(event.target instanceof HTMLInputElement || event.target instanceof HTMLSelectElement)) {
        event.preventDefault();
        $("search").focus();
      }
    });
    window.addEventListener("scroll", drawSoon, { passive: true });
    window.addEventListener("resize", drawSoon);
    window.addEventListener("pagehide", () => keep("zorv-scroll:" + location.pathname, window.scrollY));
    apply();
    const scroll = +kept("zorv-scroll:" + location.pathname);
    if (scroll > 0) {
      window.scrollTo(0, scroll);
      draw();
    }
    document.body.classList.add("ready");
  };
})();
