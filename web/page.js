// The page's wiring: the form hands a typed line and a command line to the
// program's own run (omotac_run), the panel shows what the run printed, the
// picture's text is laid over the canvas, saved files become downloads, and
// the address names the run shown. No part of the run itself is here.

Module.omotacStart = function () {
  var $ = function (id) { return document.getElementById(id); };
  var form = $('form'), count = $('count'), seed = $('seed'), raspored = $('raspored'), file = $('file');
  var canvas = Module.canvas;

  $('prompt').textContent = UTF8ToString(_omotac_prompt());
  UTF8ToString(_omotac_distributions()).split('\n').forEach(function (entry) {
    var option = document.createElement('option');
    option.value = option.textContent = entry.split('\t')[0];
    option.title = entry.split('\t')[1];
    raspored.appendChild(option);
  });
  var defaultDistribution = raspored.options[0].value;

  // The right button turns the picture; the browser's menu would cover it.
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });

  // The address of a run from its seed: enough to repeat it exactly.
  function showAddress(line) {
    var shown = UTF8ToString(_omotac_seed());
    if (shown === '') { $('address').hidden = true; return; }
    var query = '?n=' + encodeURIComponent(line.trim()) + '&seed=' + shown;
    if (raspored.value !== defaultDistribution) query += '&raspored=' + encodeURIComponent(raspored.value);
    var url = location.href.split(/[?#]/)[0] + query;
    try { history.replaceState(null, '', query); } catch (e) { /* some file:// pages refuse it */ }
    $('link').href = url;
    $('link').textContent = url;
    $('address').hidden = false;
  }

  // What a run printed, and the picture's keys once it is shown.
  function ran(status, line) {
    $('panel').textContent = UTF8ToString(_omotac_output());
    $('message').textContent = UTF8ToString(_omotac_errors());
    if (status !== 0) { $('address').hidden = true; return; }
    if (line === null) $('address').hidden = true; else showAddress(line);
    canvas.focus();
  }

  function run(line, args) {
    ran(ccall('omotac_run', 'number', ['string', 'string'], [line, args.join('\n')]), line);
  }

  // The chosen file has a place of its own, apart from the files the program
  // saves, and its name only names it: it is never read as an option.
  var chosenPath = UTF8ToString(_omotac_chosen_path());
  function forgetChosen() {
    try { FS.unlink(chosenPath); } catch (e) { /* nothing was chosen */ }
  }

  function start() {
    var chosen = file.files && file.files[0];
    if (!chosen) {
      var args = [];
      if (seed.value.trim() !== '') args.push('--seed', seed.value.trim());
      if (raspored.value !== defaultDistribution) args.push('--raspored', raspored.value);
      run(count.value, args);
      return;
    }
    // The reader's messages name the file as the user knows it.
    chosen.arrayBuffer().then(function (bytes) {
      FS.writeFile(chosenPath, new Uint8Array(bytes));
      ran(ccall('omotac_run_chosen', 'number', ['string'], [chosen.name]), null);
    });
  }

  function showChosen() {
    $('chosen').textContent = file.files.length ? file.files[0].name : 'nije izabrana';
    $('unchoose').hidden = !file.files.length;
  }
  file.addEventListener('change', showChosen);
  // Back to random points.
  $('unchoose').addEventListener('click', function () { file.value = ''; forgetChosen(); showChosen(); });
  form.addEventListener('submit', function (e) { e.preventDefault(); start(); });
  $('start').disabled = false;

  // omotac.html?n=100&seed=2024[&raspored=krug] starts that run at once.
  var query = new URLSearchParams(location.search);
  if (query.has('n')) {
    count.value = query.get('n');
    if (query.has('seed')) seed.value = query.get('seed');
    if (query.has('raspored')) raspored.value = query.get('raspored');
    start();
  } else {
    count.focus();
  }
};

// The picture's text as the program lays it out: blocks, each a line "left top"
// (window pixels from the top-left corner) followed by its lines, each after a
// tab. A block is a band of the background colour with its lines on it, a
// line every 16 pixels, as the desktop draws it.
Module.omotacText = function (text) {
  var layer = document.getElementById('text');
  var parts = document.createDocumentFragment(), block = null;
  text.split('\n').forEach(function (entry) {
    if (entry === '') return;
    if (entry[0] !== '\t') {
      var at = entry.split(' ');
      block = document.createElement('div');
      block.className = 'block';
      block.style.left = at[0] + 'px';
      block.style.top = at[1] + 'px';
      parts.appendChild(block);
      return;
    }
    var line = document.createElement('div');
    line.textContent = entry.slice(1);
    block.appendChild(line);
  });
  layer.replaceChildren(parts);
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

// Q ended the run: the form is ready for the next one.
Module.omotacRunEnded = function () {
  document.getElementById('text').replaceChildren();
  document.getElementById('message').textContent = 'Prikaz je zavrsen. Pokrenite novi.';
  document.getElementById('count').focus();
};
