// The page's wiring: the form hands a typed line and a command line to the
// program's own run (omotac_run), the panel shows what the run printed and
// folds into one line once the picture is shown, the picture is given the
// viewport's room, the toolbar presses the picture's keys, the picture's text
// is laid over the canvas (or below it), a live region reads the step's
// caption, saved files become downloads, and the address names the run and
// the step shown. No part of the run itself is here.

Module.omotacStart = function () {
  var $ = function (id) { return document.getElementById(id); };
  var form = $('form'), count = $('count'), seed = $('seed'), raspored = $('raspored'), metod = $('metod'),
      poredi = $('poredi');
  var file = $('file'), run = $('run'), summary = $('summary'), picture = $('picture'), view = $('view');
  var canvas = Module.canvas;

  // The choosers, filled from the program's own lists: the name, a tab, what it does.
  function fill(select, list) {
    list.split('\n').forEach(function (entry) {
      var option = document.createElement('option');
      option.value = option.textContent = entry.split('\t')[0];
      option.title = entry.split('\t')[1];
      select.appendChild(option);
    });
    return select.options[0].value;
  }
  $('prompt').textContent = UTF8ToString(_omotac_prompt());
  var defaultDistribution = fill(raspored, UTF8ToString(_omotac_distributions()));
  var defaultMethod = fill(metod, UTF8ToString(_omotac_methods()));
  var names = function (select) { return [].map.call(select.options, function (o) { return o.value; }); };

  // The right button turns the picture; the browser's menu would cover it.
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });

  // The toolbar: a button for each thing the keys do, pressing that key.
  var buttons = [
    ['Home', '\u21E4', 'Pocetak', 'Pocetak (Home)'],
    ['ArrowLeft', '\u2190', 'Korak nazad', 'Korak nazad (\u2190)'],
    [' ', '\u25B6\uFE0E', 'Pusti', 'Pusti ili zaustavi (Razmak)', 'playing'],
    ['ArrowRight', '\u2192', 'Sledeci korak', 'Sledeci korak (\u2192)'],
    ['End', '\u21E5', 'Kraj', 'Kraj (End)'],
    ['-', '\u2212', 'Sporije', 'Sporije (-)'],
    ['+', '+', 'Brze', 'Brze (+)'],
    ['a', 'A', 'Metod pored slike', 'Metod pored slike (A)', 'panel'],
    ['g', 'G', 'Pogadjanje', 'Pogadjanje (G)', 'guess'],
    ['e', 'E', 'Izmena tacaka', 'Izmena tacaka (E)', 'edit'],
    ['m', 'M', 'Metod', 'Metod (M)'],
    ['u', 'U', 'Uporedi metode', 'Uporedi metode (U)'],
    ['r', 'R', 'Pocetni pogled', 'Pocetni pogled (R)'],
    ['s', 'S', 'Sacuvaj tacke', 'Sacuvaj tacke (S)'],
    ['x', 'X', 'Sacuvaj sliku', 'Sacuvaj sliku (X)'],
    ['v', 'V', 'Velika slika za projektor', 'Velika slika za projektor (V)', 'presentation'],
    ['h', '?', 'Pomoc', 'Pomoc (H)', 'help'],
    ['Escape', 'Esc', 'Zatvori', 'Zatvori pitanje, pomoc ili metod (Esc)'],
    ['q', 'Q', 'Zavrsi prikaz', 'Zavrsi prikaz (Q)']
  ];
  var toggles = {};
  buttons.forEach(function (b) {
    var button = document.createElement('button');
    button.type = 'button';
    button.textContent = b[1];
    button.setAttribute('aria-label', b[2]);
    button.title = b[3];
    button.dataset.key = b[0];
    if (b[4]) { button.setAttribute('aria-pressed', 'false'); toggles[b[4]] = button; }
    button.disabled = true;
    button.addEventListener('click', function (e) {
      ccall('omotac_key', null, ['string'], [b[0]]);
      // A click with the pointer leaves the keys to the picture; a button
      // pressed from the keyboard keeps the keyboard.
      if (e.detail > 0 && !picture.classList.contains('ended')) canvas.focus();
    });
    $('toolbar').appendChild(button);
  });
  function enableToolbar(on) {
    [].forEach.call($('toolbar').children, function (b) { b.disabled = !on; });
  }

  // The picture as large as the viewport allows with its 1024 : 700 shape,
  // below what is above it once folded, and with a device pixel for each of
  // the screen's.
  var above = null;
  function fitPicture() {
    if (view.hidden) return;
    if (!run.open || above === null) above = picture.getBoundingClientRect().top + window.scrollY;
    var room = document.documentElement.clientWidth - 16;
    if (getComputedStyle(view).flexDirection === 'row') room -= $('toolbar').offsetWidth + 6;
    var height = window.innerHeight - above - 10;
    var width = Math.max(200, Math.floor(Math.min(room, height * 1024 / 700)));
    var tall = Math.round(width * 700 / 1024);
    picture.style.width = width + 'px';
    picture.style.height = tall + 'px';
    _omotac_resize(width, tall, window.devicePixelRatio || 1);
  }
  window.addEventListener('resize', fitPicture);
  run.addEventListener('toggle', function () { if (!run.open) fitPicture(); });

  // What the run shown is, in one line; the address that shows it again.
  var shown = null, state = {}, addressTimer = null;
  function plural(n, one, few, many) {
    var last = n % 10, lastTwo = n % 100;
    return n + ' ' + (last === 1 && lastTwo !== 11 ? one : last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14) ? few : many);
  }
  function describe() {
    if (!shown) return;
    var what = shown.file !== null ? 'Tacke iz datoteke ' + shown.file
             : shown.listed ? 'Tacke iz adrese'
             : 'Seme ' + shown.seed + (shown.raspored !== defaultDistribution ? ', raspored ' + shown.raspored : '');
    if (state.edited && !shown.listed) what = 'Izmenjen skup (na pocetku: ' + what.charAt(0).toLowerCase() + what.slice(1) + ')';
    summary.textContent = what + ': ' + plural(state.points, 'tacka', 'tacke', 'tacaka') + ', '
      + plural(state.vertices, 'teme', 'temena', 'temena') + ', metod ' + state.method;
  }
  var PointsInAddress = 500;
  function showAddress() {
    addressTimer = null;
    if (!shown || !picture.isConnected) return;
    var query = null, words = 'Adresa ovog prikaza:';
    if (state.edited) {
      var pairs = UTF8ToString(_omotac_points(PointsInAddress));
      if (pairs !== '') query = '?tacke=' + pairs;
      else words = 'Ovaj skup tacaka nema adresu (ima vise od ' + PointsInAddress + ' tacaka): sacuvajte ga tasterom S.';
    } else if (shown.seed !== '') {
      query = '?n=' + encodeURIComponent(shown.line) + '&seed=' + shown.seed;
      if (shown.raspored !== defaultDistribution) query += '&raspored=' + encodeURIComponent(shown.raspored);
    }
    if (query !== null) {
      if (state.method !== defaultMethod) query += '&metod=' + encodeURIComponent(state.method);
      if (poredi.checked) query += '&poredi=1';
      if (state.captioned) query += '&korak=' + state.step;
      var url = location.href.split(/[?#]/)[0] + query;
      try { history.replaceState(null, '', query); } catch (e) { /* some file:// pages refuse it */ }
      $('link').href = url;
      $('link').textContent = url;
    } else {
      $('link').removeAttribute('href');
      $('link').textContent = '';
    }
    $('addressWords').textContent = words;
    $('address').hidden = shown.file !== null && !state.edited;
  }

  // What the program says the picture shows, after every change.
  Module.omotacState = function (text) {
    state = JSON.parse(text);
    Object.keys(toggles).forEach(function (name) {
      var on = name === 'guess' || name === 'edit' ? state.mode === name : state[name];
      toggles[name].setAttribute('aria-pressed', on ? 'true' : 'false');
    });
    toggles.playing.setAttribute('aria-label', state.playing ? 'Zaustavi' : 'Pusti');
    toggles.playing.textContent = state.playing ? '\u275A\u275A' : '\u25B6\uFE0E';
    describe();
    // Nothing for each motion of a drag; the address keeps up, a few times a second at most.
    if (!state.down && addressTimer === null) addressTimer = setTimeout(showAddress, 150);
    speak();
  };

  // A run's result: what it printed, and the picture with its keys once shown.
  function ran(status, source) {
    $('panel').textContent = UTF8ToString(_omotac_output());
    $('message').textContent = UTF8ToString(_omotac_errors());
    if (status !== 0) { run.open = true; return false; }
    shown = source;
    document.body.classList.add('shown');
    view.hidden = false;
    picture.classList.remove('ended');
    $('ended').hidden = true;
    enableToolbar(true);
    run.open = false;
    above = null;
    fitPicture();
    canvas.focus();
    return true;
  }

  function runCount(line, args, source) {
    return ran(ccall('omotac_run', 'number', ['string', 'string'], [line, args.join('\n')]), source);
  }

  // The chosen file has a place of its own, apart from the files the program
  // saves, and its name only names it: it is never read as an option.
  var chosenPath = UTF8ToString(_omotac_chosen_path());
  function forgetChosen() {
    try { FS.unlink(chosenPath); } catch (e) { /* nothing was chosen */ }
  }

  var SeedDigits = 10;
  function start(then) {
    var chosen = file.files && file.files[0];
    if (!chosen) {
      var args = [], typedSeed = seed.value.trim();
      // A seed longer than any seed is refused before anything echoes it.
      if (typedSeed.length > SeedDigits) {
        $('message').textContent = 'Seme je predugacko: seme je ceo broj od 0 do 4294967295.';
        return;
      }
      if (typedSeed !== '') args.push('--seed', typedSeed);
      if (raspored.value !== defaultDistribution) args.push('--raspored', raspored.value);
      if (metod.value !== defaultMethod) args.push('--metod', metod.value);
      if (poredi.checked) args.push('--poredi');
      var ok = runCount(count.value, args, { file: null, listed: false, line: count.value.trim(), raspored: raspored.value });
      if (ok) shown.seed = UTF8ToString(_omotac_seed());
      if (ok && then) then();
      return;
    }
    // The reader's messages name the file as the user knows it.
    chosen.arrayBuffer().then(function (bytes) {
      FS.writeFile(chosenPath, new Uint8Array(bytes));
      ran(ccall('omotac_run_chosen', 'number', ['string', 'string', 'number'], [chosen.name, metod.value, +poredi.checked]),
          { file: chosen.name, listed: false, seed: '', raspored: defaultDistribution });
    });
  }

  function showChosen() {
    $('chosen').textContent = file.files.length ? file.files[0].name : 'nije izabrana';
    $('unchoose').hidden = !file.files.length;
  }
  file.addEventListener('change', showChosen);
  // Back to random points.
  $('unchoose').addEventListener('click', function () { file.value = ''; forgetChosen(); showChosen(); });
  form.addEventListener('submit', function (e) { e.preventDefault(); start(null); });
  $('start').disabled = false;

  // The step an address names, once its run is shown.
  function goToStep(query) {
    if (!query.has('korak')) return;
    var step = query.get('korak');
    if (/^\d{1,6}$/.test(step)) _omotac_show_step(Number(step));
    else $('message').textContent = 'U adresi korak "' + step.slice(0, 20) + '" nije ceo broj: prikazan je gotov omotac.';
  }

  // A name from the address that the chooser has, or the page's words for one it has not.
  function chooseFromAddress(query, key, select, words) {
    if (!query.has(key)) return true;
    var value = query.get(key);
    if (names(select).indexOf(value) >= 0) { select.value = value; return true; }
    $('message').textContent = 'U adresi je nepoznat ' + words[0] + ' "' + value.slice(0, 40) + '"; ' + words[1]
      + ' su: ' + names(select).join(', ') + '.';
    return false;
  }

  // omotac.html?n=100&seed=2024[&raspored=krug][&metod=graham][&korak=5] starts
  // that run at once and shows that step; ?tacke=x,y_x,y... runs those points.
  var query = new URLSearchParams(location.search);
  poredi.checked = query.get('poredi') === '1';
  var chosenOk = chooseFromAddress(query, 'raspored', raspored, ['raspored', 'rasporedi'])
    && chooseFromAddress(query, 'metod', metod, ['metod', 'metodi']);
  if (chosenOk && query.has('tacke')) {
    var listed = query.get('tacke');
    if (ran(ccall('omotac_run_listed', 'number', ['string', 'string', 'number'], [listed, metod.value, +poredi.checked]),
            { file: null, listed: true, seed: '', raspored: defaultDistribution })) goToStep(query);
  } else if (chosenOk && query.has('n')) {
    count.value = query.get('n');
    if (query.has('seed')) seed.value = query.get('seed');
    start(function () { goToStep(query); });
  } else {
    count.focus();
  }

  // The live region reads the step's caption (during a play its first line
  // alone) and any notice; nothing while a finger or a button is down.
  var spoken = '';
  function speak() {
    if (state.down) return;
    var words = [];
    Module.omotacBlocks.forEach(function (b) {
      if (b.kind === 'caption') words = words.concat(state.playing ? b.lines.slice(0, 1) : b.lines);
      if (b.kind === 'notes' && state.mode !== 'edit') words = words.concat(b.lines);
    });
    var text = words.join('. ');
    if (text !== spoken) { spoken = text; $('live').textContent = text; }
  }
  Module.omotacSpeak = speak;
};

// The picture's text as the program lays it out: "scale S", then blocks, each
// a line "left top kind wrap below" (window pixels from the top-left corner;
// caption, notes, help or panel; pixels a line takes before it wraps, 0
// for never; 1 for a block below the picture) followed by its lines, each after a
// tab. A block is a band of the background colour with its lines on it, as the
// desktop draws it.
Module.omotacBlocks = [];
Module.omotacText = function (text) {
  var over = document.createDocumentFragment(), below = document.createDocumentFragment();
  var blocks = [], block = null, scale = 1;
  text.split('\n').forEach(function (entry) {
    if (entry === '') return;
    if (entry.startsWith('scale ')) { scale = Number(entry.slice(6)); return; }
    if (entry[0] !== '\t') {
      var at = entry.split(' ');
      var element = document.createElement('div');
      element.className = 'block' + (Number(at[3]) > 0 ? ' wraps' : '');
      if (at[4] === '1') {
        below.appendChild(element);
      } else {
        element.style.left = at[0] + 'px';
        element.style.top = at[1] + 'px';
        if (Number(at[3]) > 0) element.style.maxWidth = at[3] + 'px';
        over.appendChild(element);
      }
      block = { kind: at[2], lines: [], element: element };
      blocks.push(block);
      return;
    }
    // A coordinate pair never breaks across lines, as the desktop wraps it.
    var line = document.createElement('div');
    entry.slice(1).split(/(\([^()]*\))/).forEach(function (piece, i) {
      if (i % 2 === 0) { line.appendChild(document.createTextNode(piece)); return; }
      var pair = document.createElement('span');
      pair.className = 'pair';
      pair.textContent = piece;
      line.appendChild(pair);
    });
    block.element.appendChild(line);
    block.lines.push(entry.slice(1));
  });
  var layer = document.getElementById('text'), under = document.getElementById('below');
  layer.style.setProperty('--scale', scale);
  under.style.setProperty('--scale', scale);
  layer.replaceChildren(over);
  under.replaceChildren(below);
  Module.omotacBlocks = blocks;
  if (Module.omotacSpeak) Module.omotacSpeak();
};

// A file the program saved, handed to the browser as a download.
Module.omotacDownload = function (name) {
  var type = name.endsWith('.svg') ? 'image/svg+xml' : 'text/plain';
  var url = URL.createObjectURL(new Blob([FS.readFile(name)], { type: type }));
  var a = document.createElement('a');
  a.href = url;
  a.download = name;
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(function () { URL.revokeObjectURL(url); }, 10000);
};

// Q ended the run: the picture says so, and the form is ready for the next one.
Module.omotacRunEnded = function () {
  var $ = function (id) { return document.getElementById(id); };
  $('text').replaceChildren();
  $('below').replaceChildren();
  $('live').textContent = '';
  $('picture').classList.add('ended');
  $('ended').textContent = 'Prikaz je zavrsen. Pokrenite novi.';
  $('ended').hidden = false;
  [].forEach.call($('toolbar').children, function (b) { b.disabled = true; });
  $('run').open = true;
  $('count').focus();
};
