// The page's touch controls (starvane-touch.css places them): on a touch screen, a stick and
// buttons over the picture's black bars, or its edges where the bars are thin, that hold the
// game's own keys (media/keys.hpp) through "G" lines (media/web/web_screen.cpp): "GD<code>" and
// "GU<code>" a key down and up, "GN" the next weapon. A tap anywhere else on the picture is the
// mouse's left button there (the launcher, its dialogs, STATS, the options page), and a text
// field that wants typing gets the phone's own keyboard through a hidden field whose changes
// become the game's typed text, Backspace and Enter.
// The controls show at the first touch and hide when a keyboard or a game controller is used,
// until the next touch. Each finger is followed by its own identifier, so that thrust, turn and
// fire work together.
'use strict';

(function () {
  const stage = document.getElementById('stage');
  const screen = document.getElementById('screen');
  const page = Module.touch;

  // The game's key codes (media/keys.hpp).
  const key = {
    left: 203, right: 205, up: 200, down: 208, fire: 57, turretLeft: 30, turretRight: 32,
    shield: 29, shock: 31, boost: 48, dash: 28, teleport: 20, stats: 46, pause: 25, options: 24,
  };
  // What the game's keys mean now (media/input_mode.hpp), as the game last told; null until it
  // tells, which the game's screen takes as flight.
  const modes = ['windows', 'flight', 'pause', 'workshop', 'capture'];
  let mode = null;
  let gameScreen = false;  // the game's 800 x 600 screen is shown, not the launcher's area
  let film = false;        // a recording is watched: the page's film controls steer it

  function element(tag, id, className, text) {
    const made = document.createElement(tag);
    if (id) made.id = id;
    if (className) made.className = className;
    if (text) made.textContent = text;
    return made;
  }
  const layer = element('div', 'touch');
  layer.hidden = true;
  // A button holds its key (or presses the next weapon) while a finger is on it. `shows` names
  // the screens it belongs to.
  const buttons = [];
  function button(name, label, code, shows, parent) {
    const made = element('div', 'touch-' + name, 'touch-button', label);
    made.dataset.code = code;
    made.dataset.shows = shows;
    parent.append(made);
    buttons.push(made);
    return made;
  }
  const top = element('div', 'touch-top');
  button('pause', 'Pause', key.pause, 'flight', top);
  button('resume', 'Play', key.pause, 'pause', top);
  button('options', 'Options', key.options, 'pause', top);
  button('stats', 'STATS', key.stats, 'flight', top);
  button('close', 'Close', key.stats, 'workshop', top);
  const stick = element('div', 'touch-stick');
  stick.dataset.shows = 'flight';
  const knob = element('div', 'touch-knob');
  stick.append(knob);
  const pad = element('div', 'touch-pad');
  pad.dataset.shows = 'flight';
  button('shield', 'Shield', key.shield, 'flight', pad);
  button('shock', 'Shock', key.shock, 'flight', pad);
  button('boost', 'Boost', key.boost, 'flight', pad);
  button('weapon', 'Weapon', 'N', 'flight', pad);
  button('dash', 'Dash', key.dash, 'flight', pad);
  button('teleport', 'Jump', key.teleport, 'flight', pad);
  button('turret-left', '\u25c0 Turret', key.turretLeft, 'flight', pad);
  button('fire', 'Fire', key.fire, 'flight', pad);
  button('turret-right', 'Turret \u25b6', key.turretRight, 'flight', pad);
  // The launcher: the phone's keyboard, again, for the name field (a keyboard put away by the
  // player comes back only at a tap).
  const typing = button('keys', 'Keyboard', '', 'launcher', layer);
  const turn = element('div', 'touch-turn', '', 'Turn the phone on its side to play.');
  const field = element('input', 'touch-text');
  for (const [name, value] of [['type', 'text'], ['autocomplete', 'off'], ['autocorrect', 'off'],
                               ['autocapitalize', 'off'], ['spellcheck', 'false'],
                               ['enterkeyhint', 'done'], ['tabindex', '-1'],
                               ['aria-label', 'The ship\'s name']]) {
    field.setAttribute(name, value);
  }
  layer.append(top, stick, pad, turn);
  stage.append(layer);
  document.body.append(field);

  // ---- Which controls show ---------------------------------------------------------------
  function screenName() {
    if (film) return 'none';
    if (!gameScreen) return 'launcher';
    const told = mode === null ? 'flight' : modes[mode];
    return told === 'flight' || told === 'pause' || told === 'workshop' ? told : 'none';
  }
  function showControls() {
    const now = screenName();
    for (const part of [...buttons, stick, pad]) {
      part.hidden = !part.dataset.shows.split(' ').includes(now);
    }
    // Keys of controls gone from the screen are let go (a tap stays the mouse's).
    for (const [id, held] of fingers) {
      if (held.part !== null && held.part.hidden) release(id);
    }
  }
  let shown = false;
  function showLayer(on) {
    if (on === shown) return;
    shown = on;
    layer.hidden = !on;
    document.body.classList.toggle('touch', on);
    if (!on) {
      for (const id of [...fingers.keys()]) release(id);
      field.blur();
    } else {
      startWatchingPads();
      if (textWanted) field.focus();
    }
  }

  // ---- Layout ----------------------------------------------------------------------------
  // The controls' size follows the black bars beside the picture where they are wide enough to
  // hold them (a phone on its side), else the stage's height (a tablet: over the picture's
  // edges).
  function layOut() {
    const box = stage.getBoundingClientRect();
    const picture = screen.getBoundingClientRect();
    const bar = Math.min(picture.left - box.left, box.right - picture.right);
    const fromBar = (bar - 12) / 3.2;
    const unit = Math.max(40, Math.min(72, fromBar >= 40 ? fromBar : box.height / 10));
    layer.style.setProperty('--unit', Math.floor(unit) + 'px');
    const upright = box.height > box.width && box.width < 600;
    // Turned upright in play, the game pauses as when the page loses the focus.
    if (upright && !layer.classList.contains('portrait') && shown && screenName() !== 'launcher' &&
        !film) {
      page.line('F');
    }
    layer.classList.toggle('portrait', upright);
  }
  new ResizeObserver(layOut).observe(stage);
  new ResizeObserver(layOut).observe(screen);

  // The game's screen tells which screen is shown by the size of what it presents.
  const show = Module.page.show;
  Module.page.show = function (pixels, width, height, ...rest) {
    show.call(this, pixels, width, height, ...rest);
    const game = width === 800 && height === 600;
    if (game !== gameScreen) {
      gameScreen = game;
      if (game) field.blur();  // the name field is the launcher's
      showControls();
    }
  };
  const filmShown = Module.page.film;
  Module.page.film = function (...state) {
    filmShown.apply(this, state);
    if (!film) {
      film = true;
      showControls();
    }
  };
  Module.page.inputMode = (told) => {
    mode = told >= 0 && told < modes.length ? told : null;
    showControls();
  };

  // ---- Fingers ---------------------------------------------------------------------------
  // Each finger on a control, by its identifier: the control, and what it holds.
  const fingers = new Map();
  function press(code) { page.line(code === 'N' ? 'GN' : 'GD' + code); }
  function letGo(code) { if (code !== 'N') page.line('GU' + code); }
  // The stick's keys for a finger at this point: past a third of its radius from the middle,
  // each axis holds its key (thrust up, brake pulled back), and the knob follows the finger.
  function stickHolds(touch) {
    const box = stick.getBoundingClientRect();
    const radius = box.width / 2;
    let dx = (touch.clientX - box.left - radius) / radius;
    let dy = (touch.clientY - box.top - radius) / radius;
    const length = Math.hypot(dx, dy);
    if (length > 1) {
      dx /= length;
      dy /= length;
    }
    knob.style.transform = `translate(${(dx * radius * 0.6).toFixed(1)}px, ` +
        `${(dy * radius * 0.6).toFixed(1)}px)`;
    const dead = 1 / 3;
    return new Set([dx < -dead ? key.left : 0, dx > dead ? key.right : 0,
                    dy < -dead ? key.up : 0, dy > dead ? key.down : 0].filter((k) => k));
  }
  function holdStick(held, touch) {
    const now = stickHolds(touch);
    for (const code of held.keys) if (!now.has(code)) letGo(code);
    for (const code of now) if (!held.keys.has(code)) press(code);
    held.keys = now;
  }
  function release(id) {
    const held = fingers.get(id);
    fingers.delete(id);
    if (!held) return;
    if (held.part === null) {
      page.untap();
      return;
    }
    for (const code of held.keys) letGo(code);
    if (held.part === stick) knob.style.transform = '';
    else if (![...fingers.values()].some((other) => other.part === held.part)) {
      held.part.classList.remove('held');
    }
  }
  // The control a touch starts on, or null for the picture; undefined for what is not the
  // game's (the page's own panels over the stage, the notice to turn the phone).
  function controlAt(target) {
    if (target === turn) return undefined;
    if (target === stick || target === knob) return stick;
    if (target.classList && target.classList.contains('touch-button')) return target;
    if (target === stage || target === screen || target === layer || layer.contains(target)) {
      return null;
    }
    return undefined;
  }
  window.addEventListener('touchstart', () => showLayer(true), {capture: true, passive: true});
  stage.addEventListener('touchstart', (event) => {
    for (const touch of event.changedTouches) {
      const part = controlAt(touch.target);
      if (part === undefined) continue;
      event.preventDefault();
      release(touch.identifier);
      if (part === null) {
        fingers.set(touch.identifier, {part: null, keys: new Set()});
        page.tap(touch);
      } else if (part === typing) {
        field.focus();  // during the tap itself, so the browser opens the keyboard
      } else if (part === stick) {
        const held = {part: stick, keys: new Set()};
        fingers.set(touch.identifier, held);
        holdStick(held, touch);
      } else {
        fingers.set(touch.identifier, {part: part, keys: new Set([part.dataset.code])});
        part.classList.add('held');
        press(part.dataset.code);
      }
    }
  }, {passive: false});
  stage.addEventListener('touchmove', (event) => {
    for (const touch of event.changedTouches) {
      const held = fingers.get(touch.identifier);
      if (!held) continue;
      event.preventDefault();
      if (held.part === stick) holdStick(held, touch);
      else if (held.part === null) page.point(touch);  // the pointer follows the finger
    }
  }, {passive: false});
  const lifted = (event) => {
    for (const touch of event.changedTouches) {
      if (!fingers.has(touch.identifier)) continue;
      event.preventDefault();
      release(touch.identifier);
    }
  };
  stage.addEventListener('touchend', lifted, {passive: false});
  stage.addEventListener('touchcancel', lifted, {passive: false});

  // ---- A keyboard or a controller hides the controls ---------------------------------------
  window.addEventListener('keydown', (event) => {
    if (event.target !== field) showLayer(false);
  }, true);
  // The browser tells of a controller at its first use, and then only when asked: the controls
  // ask at each of the browser's frames while they show and a controller is there.
  let padsWatched = false;
  function padUsed() {
    return [...navigator.getGamepads()].some((pad) => pad &&
        (pad.buttons.some((b) => b.pressed) || pad.axes.some((a) => Math.abs(a) > 0.5)));
  }
  function watchPads() {
    padsWatched = shown;
    if (!padsWatched) return;
    if (padUsed()) showLayer(false);
    requestAnimationFrame(watchPads);
  }
  function startWatchingPads() {
    if (padsWatched || !navigator.getGamepads) return;
    if (![...navigator.getGamepads()].some((pad) => pad)) return;
    padsWatched = true;
    requestAnimationFrame(watchPads);
  }
  window.addEventListener('gamepadconnected', () => showLayer(false));

  // ---- The phone's keyboard ----------------------------------------------------------------
  // The hidden field holds a few invisible characters before the cursor, so that Backspace has
  // something to delete even where the name is longer than what was typed here; what changes
  // after them is sent as the game's typed text and Backspaces.
  const filler = '\u200b'.repeat(16);
  let textWanted = false;
  let before = filler;
  let composing = false;
  function refill() {
    before = filler;
    field.value = filler;
    field.setSelectionRange(filler.length, filler.length);
  }
  field.addEventListener('focus', refill);
  field.addEventListener('compositionstart', () => { composing = true; });
  field.addEventListener('compositionend', () => {
    composing = false;
    if ([...field.value].length < 4 || [...field.value].length > 64) refill();
  });
  field.addEventListener('input', () => {
    const was = [...before];
    const now = [...field.value];
    let same = 0;
    while (same < was.length && same < now.length && was[same] === now[same]) ++same;
    for (let i = same; i < Math.min(was.length, same + 64); ++i) {
      page.line('DBackspace');
      page.line('UBackspace');
    }
    for (const character of now.slice(same)) {
      if (character !== '\u200b') page.line('T' + character);
    }
    before = field.value;
    if (!composing && (now.length < 4 || now.length > 64)) refill();
  });
  field.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter' && event.key !== 'Escape') return;
    event.preventDefault();
    page.line('D' + event.key);
    page.line('U' + event.key);
  });
  Module.page.textInput = (on) => {
    textWanted = on !== 0;
    if (textWanted && shown) field.focus();
    if (!textWanted) field.blur();
  };
  showControls();
})();
