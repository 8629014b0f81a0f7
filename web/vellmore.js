'use strict';
// The page around the core compiled to WebAssembly: it draws the window's controls from the
// core's own table and forwards what the user does to the core's handlers, which decide every
// text; the night's plan is vellmore-table's JSON and chart. Nothing leaves the browser: the
// settings file and the options live in localStorage.
var Module = (function () {
  const Event = { Clicked: 0, Picked: 1, Edited: 2, Pressed: 3, ReleasedIn: 4, ReleasedOut: 5,
    DoubleClicked: 6, OtherButton: 7, CaptureLost: 8, Activated: 9 };
  const $ = (id) => document.getElementById(id);
  const make = (tag, props = {}, ...children) => {
    const el = Object.assign(document.createElement(tag), props);
    el.append(...children);
    return el;
  };
  const store = {
    get(key) { try { return localStorage.getItem(`vellmore.${key}`); } catch (e) { return null; } },
    set(key, value) { try { localStorage.setItem(`vellmore.${key}`, value); } catch (e) { /* private mode */ } },
  };

  let M = null; // the module, once it runs
  const call = (name, ret, types, args) => M.ccall(name, ret, types, args);

  // Messages stay in the page until dismissed; a modal box would stop the page.
  function showMessage(text) {
    const box = make('div', { className: 'message' }, make('p', { textContent: text }));
    const ok = make('button', { type: 'button', textContent: 'OK' });
    ok.addEventListener('click', () => box.remove());
    box.append(ok);
    $('messages').append(box);
  }

  // The settings file as bytes, kept as a string of byte values so that a file in any encoding
  // reaches the loader unchanged (a UTF-16 file gets the loader's own message).
  const settings = {
    bytes() {
      const s = store.get('ini');
      return s === null ? null : Uint8Array.from(s, (c) => c.charCodeAt(0));
    },
    keep(bytes) {
      let s = '';
      for (let i = 0; i < bytes.length; i += 8192) s += String.fromCharCode(...bytes.subarray(i, i + 8192));
      store.set('ini', s);
    },
    path: () => call('vm_settings_path', 'string', [], []),
    toFs() {
      const bytes = settings.bytes();
      if (!bytes) return;
      const path = settings.path();
      try { M.FS.mkdirTree(path.slice(0, path.lastIndexOf('/'))); } catch (e) { /* exists */ }
      M.FS.writeFile(path, bytes);
    },
    fromFs(path = settings.path()) {
      try { return M.FS.readFile(path); } catch (e) { return null; }
    },
    // A load that found no file wrote the default one, which the page keeps from then on.
    keepWritten() {
      const written = !settings.bytes() && settings.fromFs();
      if (written) settings.keep(written);
    },
  };
  const decode = (bytes) => {
    try { return new TextDecoder('utf-8', { fatal: true }).decode(bytes); } catch (e) {
      return new TextDecoder('windows-1252').decode(bytes);
    }
  };
  const lines = (text) => text.replace(/\r\n?/g, '\n');

  // The settings editor: what Edit Settings opens in place of a desktop text editor.
  const editor = {
    opened: null, // { text, bytes } of the file as it was read or opened
    show(bytes) {
      editor.opened = { bytes, text: lines(decode(bytes)) };
      $('ini').value = editor.opened.text;
      $('editor').hidden = false;
      $('ini').focus();
    },
    // The file as it was opened while it is unchanged, else the text as UTF-8 with CR LF.
    bytes() {
      const text = $('ini').value;
      return editor.opened && text === editor.opened.text ? editor.opened.bytes
        : new TextEncoder().encode(text.replace(/\n/g, '\r\n'));
    },
    save() {
      settings.keep(editor.bytes());
      if (M) settings.toFs();
      editor.close();
    },
    close() { $('editor').hidden = true; $('Command3')?.focus(); },
    async open(file) {
      editor.show(new Uint8Array(await file.arrayBuffer()));
    },
    download() {
      const a = make('a', { href: URL.createObjectURL(new Blob([editor.bytes()], { type: 'text/plain' })), download: 'Vellmore.ini' });
      document.body.append(a);
      a.click();
      a.remove();
      setTimeout(() => URL.revokeObjectURL(a.href), 0);
    },
  };

  // The window: one element per control, found by its enum value.
  const els = [];
  const combo = { entries: [], selected: -1, list: null };
  const forward = (control, event) => { try { call('vm_event', null, ['number', 'number'], [control, event]); } catch (e) { showMessage(String(e)); } };

  const view = {
    text: (c) => (els[c].tagName === 'INPUT' ? els[c].value : els[c].textContent),
    setText(c, text) {
      if (els[c].tagName === 'INPUT') els[c].value = text;
      else els[c].textContent = text;
    },
    clearSelector() {
      combo.entries = [];
      combo.selected = -1;
      combo.list.replaceChildren(make('option', { value: '', textContent: '—' }));
      combo.text.value = '';
    },
    appendEntries(json) {
      for (const entry of JSON.parse(json)) {
        combo.list.append(make('option', { value: String(combo.entries.length), textContent: entry }));
        combo.entries.push(entry);
      }
      combo.list.selectedIndex = combo.selected + 1;
    },
    selectedIndex: () => combo.selected,
    setSelectedIndex(i) {
      combo.selected = i >= 0 && i < combo.entries.length ? i : -1;
      combo.list.selectedIndex = combo.selected + 1;
      if (combo.selected >= 0) combo.text.value = combo.entries[i];
    },
    showMessage: (text) => showMessage(text),
    editSettings(path) {
      editor.show(settings.fromFs(path) ?? settings.bytes() ?? new Uint8Array());
      return true;
    },
    openDocument(address) {
      const w = window.open(address, '_blank');
      if (!w) return 5;
      try { w.opener = null; } catch (e) { /* another origin */ }
      return 42;
    },
  };

  function buildWindow(defs) {
    const root = $('form1');
    root.replaceChildren();
    const kind = (d) => String(d.kind).toLowerCase();
    const namer = new Map(defs.filter((d) => d.names !== null && d.names !== undefined).map((d) => [d.names, d]));
    const named = new Set(namer.keys());
    const focusable = defs.filter((d) => ['textbox', 'button', 'selector'].includes(kind(d)))
      .sort((a, b) => a.tabIndex - b.tabIndex);
    // Focusable controls in tab order, each after its caption; then the rest.
    const order = [];
    for (const d of [...focusable, ...defs]) {
      const label = namer.get(d.id);
      if (label && !order.includes(label)) order.push(label);
      if (!order.includes(d)) order.push(d);
    }
    for (const d of order) {
      let el;
      const k = kind(d);
      if (k === 'textbox') {
        el = make('input', { type: 'text', value: d.text, autocomplete: 'off', inputMode: 'decimal', spellcheck: false });
      } else if (k === 'button') {
        el = make('button', { type: 'button', textContent: d.text });
        el.addEventListener('click', () => {
          forward(d.id, Event.Clicked);
          settings.keepWritten();
        });
      } else if (k === 'selector') {
        el = make('div', { className: 'combo' });
        combo.text = make('input', { type: 'text', id: d.name, value: d.text, autocomplete: 'off' });
        combo.list = make('select', { id: `${d.name}-list` });
        combo.list.setAttribute('aria-label', 'Object list');
        // One tab stop, as a window's selector is: the arrow keys in the text part move through
        // the list, Alt+Down opens it.
        combo.list.tabIndex = -1;
        combo.text.addEventListener('keydown', (e) => {
          if (e.key !== 'ArrowDown' && e.key !== 'ArrowUp') return;
          e.preventDefault();
          if (e.altKey) return combo.list.showPicker?.();
          const i = Math.min(Math.max(combo.selected + (e.key === 'ArrowDown' ? 1 : -1), 0), combo.entries.length - 1);
          if (i === combo.selected || i < 0) return;
          view.setSelectedIndex(i);
          forward(d.id, Event.Picked);
        });
        combo.text.addEventListener('input', () => {
          combo.selected = -1;
          combo.list.selectedIndex = 0;
          forward(d.id, Event.Edited);
        });
        combo.list.addEventListener('change', () => {
          const i = combo.list.selectedIndex - 1;
          if (i < 0) return;
          view.setSelectedIndex(i);
          forward(d.id, Event.Picked);
        });
        el.append(combo.text, combo.list);
        els[d.id] = combo.text;
        el.style.gridArea = d.name;
        root.append(el);
        continue;
      } else if (k === 'link') {
        el = linkElement(d);
      } else if (d.names !== null && d.names !== undefined) {
        el = make('label', { htmlFor: defs.find((t) => t.id === d.names).name, textContent: d.text });
      } else if (named.has(d.id)) {
        // A result: read out when it changes, with its caption.
        el = make('output', { textContent: d.text });
        el.setAttribute('aria-live', 'polite');
      } else {
        el = make('p', { textContent: d.text });
      }
      el.id = d.name;
      el.style.gridArea = d.name;
      const align = String(d.align ?? '').toLowerCase();
      if (align === 'right') el.classList.add('caption');
      if (align === 'centre' || align === 'center') el.classList.add('centre');
      if (d.blue) el.classList.add('blue');
      els[d.id] = el;
      root.append(el);
    }
  }

  // A real link (middle click, "open in new tab" work), whose own clicks go to the handlers,
  // which open the page through openDocument once per click.
  function linkElement(d) {
    const a = make('a', { href: d.text, target: '_blank', rel: 'noopener noreferrer', textContent: d.text });
    let captured = false;
    a.addEventListener('mousedown', (e) => {
      e.preventDefault(); // a click leaves the focus where it was, as on the window's link
      if (e.button !== 0) return forward(d.id, Event.OtherButton);
      captured = true;
      forward(d.id, e.detail >= 2 ? Event.DoubleClicked : Event.Pressed);
    });
    window.addEventListener('mouseup', (e) => {
      if (!captured || e.button !== 0) return;
      captured = false;
      forward(d.id, a.contains(e.target) ? Event.ReleasedIn : Event.ReleasedOut);
    });
    window.addEventListener('blur', () => {
      if (captured) forward(d.id, Event.CaptureLost);
      captured = false;
    });
    a.addEventListener('click', (e) => {
      if (e.button !== 0) return;
      e.preventDefault();
      if (e.detail === 0) forward(d.id, Event.Activated); // Enter, or a screen reader's action
    });
    return a;
  }

  function start() {
    M = Module;
    try {
      buildWindow(JSON.parse(call('vm_controls', 'string', [], [])));
      window.vellmoreTest?.beforeLoad(M); // tests/web/pagedriver.mjs's recorders, before the load
      settings.toFs();
      call('vm_load', null, [], []);
      settings.keepWritten();
      requestAnimationFrame(() => call('vm_shown', null, [], []));
      const first = document.querySelector('#form1 input');
      if (first) first.focus({ preventScroll: true });
      window.vellmorePlan.ready(M);
    } catch (e) {
      showMessage(`Vellmore could not start: ${e}`);
    }
  }

  function wire() {
    $('ini-save').addEventListener('click', editor.save);
    $('ini-cancel').addEventListener('click', editor.close);
    $('ini-download').addEventListener('click', editor.download);
    $('ini-file').addEventListener('change', (e) => {
      const file = e.target.files[0];
      if (file) editor.open(file).catch((err) => showMessage(`Could not read ${file.name}: ${err}`));
      e.target.value = '';
    });
    const theme = $('theme');
    const apply = (night) => {
      if (night) document.documentElement.dataset.theme = 'night';
      else delete document.documentElement.dataset.theme;
      theme.setAttribute('aria-pressed', String(night));
      // The browser's calendar pops up in its own colours, so night mode types the date.
      $('date').type = night ? 'text' : 'date';
      $('date').placeholder = night ? 'YYYY-MM-DD' : '';
    };
    apply(store.get('theme') === 'night');
    theme.addEventListener('click', () => {
      const night = theme.getAttribute('aria-pressed') !== 'true';
      store.set('theme', night ? 'night' : 'day');
      apply(night);
    });
  }
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', wire);
  else wire();

  return {
    vellmoreView: view,
    onRuntimeInitialized: start,
    print() {},
    printErr() {},
    vellmoreStore: store,
    vellmoreSettingsPath: () => settings.path(),
  };
})();
