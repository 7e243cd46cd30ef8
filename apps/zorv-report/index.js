// The index of an export: every game in a table that is drawn only where it
// scrolls into view, searched as the user types, sorted by any column and
// filtered. games.js hands the games to zorvGames(), column by column and in
// the order of their ROM names. No framework, no network: the page works from
// file:// as it stands.
"use strict";
(function () {
  const ROW_HEIGHT = 28; // pixels; the page's style gives every row this height
  const SPARE_ROWS = 12; // drawn above and below what shows, for smooth scrolling
  const COLUMNS = ["rom", "title", "year", "manufacturer", "category", "players"];
  const WORDS = {
    en: { shown: (n, all) => `${n} of ${all} shown`, none: "No game matches." },
    fr: { shown: (n, all) => `${n} sur ${all} affichés`, none: "Aucun jeu ne correspond." },
  };
  const language = document.documentElement.lang;
  const words = WORDS[language] || WORDS.en;
  const number = new Intl.NumberFormat(language);
  const collator = new Intl.Collator(language, { sensitivity: "base", numeric: true });
  const $ = (id) => document.getElementById(id);

  let data = null; // the columns of games.js
  let count = 0;
  let shown = []; // the numbers of the games that pass, in their order
  let sortKey = "rom";
  let descending = false;
  let selected = -1; // a place in `shown`
  let drawn = { first: -1, last: -1, count: -1 };
  const ranks = {}; // for each column but the first, every game's place in its order
  let searchTexts = null;
  let yearNumbers = null;

  function value(key, game) {
    switch (key) {
      case "manufacturer":
        return data.manufacturers[data.manufacturer[game]];
      case "category":
        return data.categories[data.category[game]];
      case "players":
        return data.players[data.player[game]];
      default:
        return data[key][game];
    }
  }

  function fileOf(game) {
    const other = data.files[game];
    return other === undefined ? data.rom[game] + ".html" : other;
  }

  function searchText(game) {
    if (!searchTexts) searchTexts = new Array(count);
    let text = searchTexts[game];
    if (text === undefined) {
      text = (data.rom[game] + "\n" + data.title[game] + "\n" + value("manufacturer", game)).toLowerCase();
      searchTexts[game] = text;
    }
    return text;
  }

  // The year as a number, "198?" as 1980; NaN for none.
  function yearNumber(game) {
    if (!yearNumbers) {
      yearNumbers = new Float64Array(count);
      for (let i = 0; i < count; ++i) {
        const digits = data.year[i].replace(/\?/g, "0");
        yearNumbers[i] = /^\d{4}/.test(digits) ? parseInt(digits.slice(0, 4), 10) : NaN;
      }
    }
    return yearNumbers[game];
  }

  function rankOf(key) {
    if (key === "rom") return null;
    if (!ranks[key]) {
      const values = new Array(count);
      const order = new Array(count);
      for (let i = 0; i < count; ++i) {
        values[i] = value(key, i);
        order[i] = i;
      }
      order.sort((a, b) => collator.compare(values[a], values[b]) || a - b);
      const rank = new Int32Array(count);
      order.forEach((game, place) => (rank[game] = place));
      ranks[key] = rank;
    }
    return ranks[key];
  }

  // The texts are in order already.
  function fillChoices(list, values) {
    const fragment = document.createDocumentFragment();
    for (const text of values) if (text !== "") fragment.appendChild(new Option(text, text));
    list.appendChild(fragment);
  }

  function passes() {
    const terms = $("search").value.toLowerCase().split(/\s+/).filter(Boolean);
    const from = parseInt($("year-from").value, 10);
    const to = parseInt($("year-to").value, 10);
    // Every manufacturer whose name holds what is typed.
    const maker = $("manufacturer").value.trim().toLowerCase();
    const makers = maker ? new Uint8Array(data.manufacturers.map((m) => m.toLowerCase().includes(maker))) : null;
    const category = $("category").value ? data.categories.indexOf($("category").value) : -1;
    const clones = $("clones").value;
    const everything = $("not-games").checked;
    return (game) =>
      (everything || data.notGame[game] === "0") &&
      (!makers || makers[data.manufacturer[game]]) &&
      (category < 0 || data.category[game] === category) &&
      (clones !== "parents" || !data.parent[game]) &&
      (clones !== "clones" || data.parent[game]) &&
      (isNaN(from) || yearNumber(game) >= from) &&
      (isNaN(to) || yearNumber(game) <= to) &&
      (!terms.length || terms.every((term) => searchText(game).includes(term)));
  }

  function apply() {
    const pass = passes();
    shown = [];
    for (let game = 0; game < count; ++game) if (pass(game)) shown.push(game);
    const rank = rankOf(sortKey);
    if (rank) shown.sort((a, b) => rank[a] - rank[b]);
    if (descending) shown.reverse();
    selected = Math.min(selected, shown.length - 1);
    $("shown").textContent = shown.length ? words.shown(number.format(shown.length), number.format(count)) : words.none;
    for (const button of document.querySelectorAll("th button")) {
      const sorted = button.dataset.key === sortKey;
      button.parentElement.setAttribute("aria-sort", sorted ? (descending ? "descending" : "ascending") : "none");
    }
    drawn = { first: -1, last: -1, count: -1 };
    draw();
    remember();
  }

  function row(game, place) {
    const tr = document.createElement("tr");
    tr.dataset.place = place;
    tr.tabIndex = -1;
    if (place === selected) tr.className = "selected";
    const name = document.createElement("td");
    const file = fileOf(game);
    if (file) {
      const link = document.createElement("a");
      link.href = encodeURIComponent(file);
      link.textContent = data.rom[game];
      name.appendChild(link);
    } else {
      name.textContent = data.rom[game];
    }
    if (data.parent[game]) {
      name.classList.add("clone");
      name.title = data.parent[game];
    }
    tr.appendChild(name);
    for (const key of COLUMNS.slice(1)) {
      const td = document.createElement("td");
      td.textContent = td.title = value(key, game);
      tr.appendChild(td);
    }
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
    if (tr) (tr.querySelector("a") || tr).focus({ preventScroll: true });
  }

  // Moves the selection to a place in the list, scrolling it into view.
  function select(place) {
    if (!shown.length) return;
    selected = Math.max(0, Math.min(shown.length - 1, place));
    const rowTop = $("rows").getBoundingClientRect().top + window.scrollY + selected * ROW_HEIGHT;
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

  // The search, filters and order live in the address, so that the way back
  // from a game's page finds the list as it was; the scroll position in the
  // session's storage, which a browser may refuse a file:// page.
  const FIELDS = { q: "search", from: "year-from", to: "year-to", m: "manufacturer", c: "category", clones: "clones" };

  function remember() {
    const state = new URLSearchParams();
    for (const [name, id] of Object.entries(FIELDS)) if ($(id).value) state.set(name, $(id).value);
    if ($("not-games").checked) state.set("all", "1");
    if (sortKey !== "rom") state.set("sort", sortKey);
    if (descending) state.set("desc", "1");
    history.replaceState(null, "", state.toString() ? "#" + state : location.pathname);
  }

  function recall() {
    const state = new URLSearchParams(location.hash.slice(1));
    for (const [name, id] of Object.entries(FIELDS)) $(id).value = state.get(name) || "";
    $("not-games").checked = state.get("all") === "1";
    sortKey = COLUMNS.includes(state.get("sort")) ? state.get("sort") : "rom";
    descending = state.get("desc") === "1";
  }

  function keep(name, text) {
    try {
      sessionStorage.setItem(name, text);
    } catch {}
  }

  function kept(name) {
    try {
      return sessionStorage.getItem(name);
    } catch {
      return null;
    }
  }

  window.zorvGames = function (games) {
    data = games;
    count = data.rom.length;
    fillChoices($("category"), data.categories);
    // Thousands of manufacturers: offered once the field is first used.
    $("manufacturer").addEventListener("focus", () => fillChoices($("manufacturers"), data.manufacturers), { once: true });
    recall();
    for (const id of ["search", "year-from", "year-to", "manufacturer"]) $(id).addEventListener("input", apply);
    for (const id of ["category", "clones", "not-games"]) $(id).addEventListener("change", apply);
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
      const typing = event.target instanceof HTMLInputElement || event.target instanceof HTMLSelectElement;
      if (event.key === "/" && !typing) {
        event.preventDefault();
        $("search").focus();
      }
    });
    window.addEventListener("scroll", drawSoon, { passive: true });
    window.addEventListener("resize", drawSoon);
    window.addEventListener("hashchange", () => {
      recall();
      apply();
    });
    window.addEventListener("pagehide", () => keep("zorv-scroll:" + location.pathname, String(window.scrollY)));
    apply();
    const scroll = +kept("zorv-scroll:" + location.pathname);
    if (scroll > 0) {
      window.scrollTo(0, scroll);
      draw();
    }
    document.body.classList.add("ready");
  };
})();
