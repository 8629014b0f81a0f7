'use strict';
// Tonight: the site and the camera, run through vellmore-table's own argument parser and plan,
// drawn as its chart and, per object, a short table in local time.
window.vellmorePlan = (function () {
  const $ = (id) => document.getElementById(id);
  const make = (tag, props = {}, ...children) => {
    const el = Object.assign(document.createElement(tag), props);
    el.append(...children);
    return el;
  };
  const remembered = ['lat', 'lon', 'height', 'step', 'shutter', 'pixel', 'sensor'];
  const chartFile = '/tmp/night.svg';
  let M = null;
  let planned = false;
  let offsetTyped = false;

  const two = (n) => String(n).padStart(2, '0');
  const today = () => {
    const d = new Date();
    return `${d.getFullYear()}-${two(d.getMonth() + 1)}-${two(d.getDate())}`;
  };
  // The browser's offset from UTC at local noon of the date, as the table program takes it.
  const offsetOn = (date) => {
    const [y, m, d] = date.split('-').map(Number);
    const noon = new Date(y, m - 1, d, 12);
    if (!y || Number.isNaN(noon.getTime())) return '';
    const minutes = -noon.getTimezoneOffset();
    const a = Math.abs(minutes);
    return `${minutes < 0 ? '-' : '+'}${two(Math.floor(a / 60))}:${two(a % 60)}`;
  };
  const offsetMinutes = (text) => {
    const m = /^([+-])(\d\d):(\d\d)$/.exec(text);
    return m ? (m[1] === '-' ? -1 : 1) * (Number(m[2]) * 60 + Number(m[3])) : 0;
  };

  // A problem stands out in a box; a note that all went well is plain text.
  function status(text, note = false) {
    $('plan-status').replaceChildren(...(text ? [make('p', { className: note ? 'note' : 'message', textContent: text })] : []));
  }

  function remember() {
    const o = {};
    for (const id of remembered) o[id] = $(id).value;
    Module.vellmoreStore.set('plan', JSON.stringify(o));
  }

  function restore() {
    let o = {};
    try { o = JSON.parse(Module.vellmoreStore.get('plan') ?? '{}') ?? {}; } catch (e) { o = {}; }
    for (const id of remembered) if (typeof o[id] === 'string') $(id).value = o[id];
    $('date').value = today();
    $('offset').value = offsetOn($('date').value);
  }

  function args() {
    const a = ['--settings', Module.vellmoreSettingsPath(), '--site',
      [$('lat').value, $('lon').value, $('height').value].map((s) => s.trim()).join(','),
      '--date', $('date').value, '--utc-offset', $('offset').value.trim(), '--step', $('step').value.trim()];
    for (const [id, flag] of [['shutter', '--shutter'], ['pixel', '--pixel-size'], ['sensor', '--sensor']]) {
      const v = $(id).value.trim();
      if (v) a.push(flag, v);
    }
    return [...a, '--json', '--svg', chartFile];
  }

  function run() {
    if (!M) return status('The calculator is still loading.');
    planned = true;
    remember();
    status('');
    $('plan-out').replaceChildren(); // no plan stays on screen beside a message about another
    try {
      try { M.FS.unlink(chartFile); } catch (e) { /* first plan */ }
      const code = M.ccall('vm_table', 'number', ['string'], [args().join('\n')]);
      if (code !== 0) {
        const err = M.ccall('vm_table_err', 'string', [], []).trim().split('\n')[0].replace(/^vellmore-table: /, '');
        return status(err || `The plan could not be made (status ${code}).`);
      }
      const plan = JSON.parse(M.ccall('vm_table_out', 'string', [], []));
      render(plan, M.FS.readFile(chartFile, { encoding: 'utf8' }));
      status(`The night of ${plan.night.date} is planned below.`, true);
    } catch (e) {
      status(`The plan could not be made: ${e.message ?? e}`);
    }
  }

  const fixed = (n, d) => (n === null || n === undefined ? '–' : Number(n).toFixed(d));
  const percent = (f) => `${(f * 100).toFixed(f < 0.1 ? 1 : 0)}%`;

  function render(plan, svg) {
    const off = offsetMinutes(plan.night.utc_offset);
    const local = (iso) => {
      if (!iso) return '–';
      const t = new Date(Date.parse(iso) + off * 60000);
      return `${two(t.getUTCHours())}:${two(t.getUTCMinutes())}`;
    };
    const { site, night, moon, optics } = plan;
    const out = $('plan-out');
    const facts = [
      `Night of ${night.date} at ${site.latitude_deg}° N, ${site.longitude_deg}° E, ${site.height_m} m; local time is UTC${night.utc_offset}.`,
      night.polar ? `${night.polar[0].toUpperCase()}${night.polar.slice(1)}.`
        : `Sunset ${local(night.sunset)}, sunrise ${local(night.sunrise)}.`,
    ];
    // Local time far from the Sun's at the site is most often a time zone left as the browser's.
    const solar = Math.round(site.longitude_deg * 4);
    if (Math.abs(off - solar) > 180) {
      facts.push(`Local time UTC${night.utc_offset} is far from the Sun's time at this longitude (about UTC${solar < 0 ? '-' : '+'}${two(Math.floor(Math.abs(solar) / 60))}:${two(Math.abs(solar) % 60)}); check the UTC offset.`);
    }
    if (moon.entry) {
      facts.push(`The Moon is ${percent(moon.illuminated)} lit at midnight (phase angle ${fixed(moon.phase_angle_deg, 1)}°); `
        + `${moon.entry}'s K is ${moon.k} tonight and ${fixed(moon.k_full_moon, 2)} at full Moon.`);
    }
    if (optics.image_scale_arcsec_per_px !== null) {
      const field = optics.field_arcmin;
      facts.push(`Image scale ${fixed(optics.image_scale_arcsec_per_px, 3)}″/px${field ? `, field of view ${fixed(field.width ?? field[0], 2)}′ × ${fixed(field.height ?? field[1], 2)}′` : ''}.`);
    } else if (optics.sky_fault) facts.push(`No image scale: ${optics.sky_fault}.`);

    const chart = make('div', { className: 'chart' });
    const doc = new DOMParser().parseFromString(svg, 'image/svg+xml');
    if (doc.documentElement.localName === 'svg') {
      const picture = document.importNode(doc.documentElement, true);
      picture.setAttribute('role', 'img');
      picture.setAttribute('aria-label', `Altitude of each object through the night of ${night.date}, with the sky's darkness`);
      chart.append(picture);
    }
    const objects = make('div', { className: 'objects' });
    for (const o of plan.objects) objects.append(objectSection(o, local));
    out.replaceChildren(make('h3', { textContent: 'The night' }), ...facts.map((f) => make('p', { textContent: f })),
      chart, objects);
  }

  function discText(disc) {
    if (!disc || disc.diameter_arcsec === null) return '';
    let s = `Disc at midnight ${fixed(disc.diameter_arcsec, 2)}″ across, ${percent(disc.lit_fraction)} lit`;
    if (disc.magnitude !== null) s += `, magnitude ${fixed(disc.magnitude, 2)}`;
    if (disc.diameter_px !== undefined && disc.diameter_px !== null) s += `; ${fixed(disc.diameter_px, 1)} px`;
    if (disc.fits_sensor !== undefined && disc.fits_sensor !== null) {
      s += disc.fits_sensor ? `, fits the sensor ${fixed(disc.times_across, 2)} times across`
        : `, does not fit the sensor (${fixed(disc.times_across, 2)} times its short side)`;
    }
    return `${s}.`;
  }

  function objectSection(o, local) {
    const section = make('section', { className: 'object' });
    section.setAttribute('aria-label', o.object);
    section.append(make('h3', { textContent: `${o.object} (K ${o.k})` }));
    if (!o.body) {
      section.append(make('p', { textContent: `${o.note[0].toUpperCase()}${o.note.slice(1)}.` }));
      return section;
    }
    const transit = o.transit ? `transits ${local(o.transit)} at ${fixed(o.transit_altitude_deg, 1)}°` : 'no transit';
    section.append(make('p', { textContent: `Rises ${local(o.rise)}, ${transit}, sets ${local(o.set)}.` }));
    const disc = discText(o.disc);
    if (disc) section.append(make('p', { textContent: disc }));
    const first = o.rows.find((r) => r.exposures.length)?.exposures ?? [];
    const heads = first.map((c) => ('shutter_s' in c ? `ISO at ${c.shutter} s` : `ISO ${c.iso}`));
    const table = make('table', {}, make('caption', { className: 'sr-only', textContent: `${o.object} through the night` }));
    table.append(make('thead', {}, make('tr', {}, ...['Time', 'Alt°', ...(heads.length ? heads : ['Exposure'])]
      .map((h) => make('th', { scope: 'col', textContent: h })))));
    const body = make('tbody');
    const width = Math.max(heads.length, 1);
    let run = null; // consecutive rows with no exposure and the same reason share one line
    for (const r of o.rows) {
      const why = r.exposures.length ? null : (r.altitude_deg < 0 ? 'below the horizon' : r.sky);
      if (why && run?.why === why) {
        run.time.textContent = `${run.from}–${local(r.time)}`;
        continue;
      }
      const time = make('th', { scope: 'row', textContent: local(r.time) });
      const tr = make('tr', {}, time);
      run = why ? { why, time, from: local(r.time) } : null;
      if (why) tr.append(make('td', { className: 'below', colSpan: width + 1, textContent: why }));
      else tr.append(make('td', { textContent: fixed(r.altitude_deg, 1) }), ...r.exposures.map((c) => make('td', { textContent: cellText(c) })));
      body.append(tr);
    }
    table.append(body);
    section.append(make('div', { className: 'scroll' }, table));
    return section;
  }

  function cellText(c) {
    if (c.fault) return c.fault;
    if ('shutter_s' in c) return c.iso ?? '–';
    const stops = c.offset_stops === null ? null : Math.round(c.offset_stops * 10) / 10; // -0.04 is +0.0
    const offset = stops === null ? '' : ` ${stops < 0 ? '-' : '+'}${Math.abs(stops).toFixed(1)}`;
    const seconds = c.exposure_s < 1 ? c.exposure_s.toPrecision(2) : c.exposure_s.toFixed(1);
    const shutter = /^\d+(\.\d+)?$/.test(c.shutter) ? `${c.shutter} s` : c.shutter; // "2" is 2 seconds
    return `${shutter}${offset} (${seconds} s)`;
  }

  function locate() {
    const fail = (text) => status(`${text} Type the site's latitude and longitude instead.`);
    if (!navigator.geolocation) return fail('This browser cannot tell where it is.');
    status('Asking the browser where this is…', true);
    navigator.geolocation.getCurrentPosition((p) => {
      $('lat').value = p.coords.latitude.toFixed(4);
      $('lon').value = p.coords.longitude.toFixed(4);
      if (p.coords.altitude !== null && p.coords.altitude !== undefined) $('height').value = Math.round(p.coords.altitude);
      remember();
      status(`Site set to ${$('lat').value}, ${$('lon').value}.`, true);
    }, (e) => fail(e.code === 1 ? 'The location was refused.' : 'The location is not available.'),
    { timeout: 20000, maximumAge: 600000 });
  }

  function wire() {
    restore();
    $('plan-form').addEventListener('submit', (e) => { e.preventDefault(); run(); });
    $('locate').addEventListener('click', locate);
    $('offset').addEventListener('input', () => { offsetTyped = true; });
    $('date').addEventListener('change', () => { if (!offsetTyped) $('offset').value = offsetOn($('date').value); });
  }
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', wire);
  else wire();

  return {
    ready(module) {
      M = module;
      if ($('lat').value && $('lon').value) run();
      // The engine compiles the module's code a function at a time, on first use, and its hot
      // parts again, better, once they have run a while: a plan at 20-minute steps in the first
      // idle moment (unless a night was asked for first) makes the first night a quick one.
      else (window.requestIdleCallback ?? setTimeout)(() => planned || M.ccall('vm_table', 'number', ['string'],
        [['--site', '0,0', '--date', '2026-01-01', '--utc-offset', '+00:00', '--step', '20', '--json'].join('\n')]));
    },
  };
})();
