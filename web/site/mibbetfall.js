// The page's side of the browser game: it reads the settings, decodes the sounds, keeps the
// high-score table in the page's storage, hands pointer and keys to the game, and sleeps until
// the game's next due moment. Everything the game decides happens in the WebAssembly module.
"use strict";

const Mibbetfall = (() => {
  const WIDTH = 903, HEIGHT = 717;
  const TABLE_KEY = "mibbetfall/hs.bmp";
  const POST_TIMEOUT_MS = 5000;
  const canvas = document.getElementById("game");
  const context = canvas.getContext("2d");
  const audio = new (window.AudioContext || window.webkitAudioContext)();
  const buffers = new Map();  // sound path -> decoded AudioBuffer
  let startMs = 0, wakeTimer = null, started = false;

  // ---- Sound: one effect voice, as on the desktop ----
  let voice = null;
  function playSound(path, onlyIfIdle) {
    const buffer = buffers.get(path);
    if (!buffer) return;
    if (voice && onlyIfIdle) return;
    stopSound();
    const source = audio.createBufferSource();
    source.buffer = buffer;
    source.connect(audio.destination);
    source.onended = () => { if (voice === source) voice = null; };
    voice = source;
    source.start();
  }
  function stopSound() {
    if (!voice) return;
    const playing = voice;
    voice = null;
    playing.stop();
  }

  // ---- Music: one track owns the output; a track that does not own it never silences it ----
  const music = (() => {
    const tracks = new Map();  // id -> {buffer}
    let owner = null, source = null, startedAt = 0, pausedAt = null;
    function stopSource() {
      if (!source) return;
      source.onended = null;
      source.stop();
      source = null;
    }
    function startFrom(offsetSeconds) {
      stopSource();
      source = audio.createBufferSource();
      source.buffer = tracks.get(owner).buffer;
      source.connect(audio.destination);
      source.onended = () => { source = null; owner = null; pausedAt = null; };
      startedAt = audio.currentTime - offsetSeconds;
      pausedAt = null;
      source.start(0, offsetSeconds);
    }
    return {
      open(id, path) {
        const buffer = buffers.get(path);
        if (buffer) tracks.set(id, {buffer});
        return buffer ? 1 : 0;
      },
      run(id) {
        if (!tracks.has(id)) return 0;
        if (owner === id && pausedAt !== null) { startFrom(pausedAt); return 0; }
        if (owner === id && source) return 0;
        owner = id;
        startFrom(0);
        return 1;
      },
      pause(id) {
        if (owner !== id || !source) return;
        pausedAt = audio.currentTime - startedAt;
        stopSource();
      },
      halt(id) {
        if (owner !== id) return;
        stopSource();
        owner = null;
        pausedAt = null;
      },
      seekToStart(id) {
        if (owner !== id) return;
        if (pausedAt !== null) pausedAt = 0;
        else if (source) startFrom(0);
      },
      durationMs(id) { return tracks.has(id) ? Math.floor(tracks.get(id).buffer.duration * 1000) : 0; },
      positionMs(id) {
        if (owner !== id) return 0;
        const seconds = pausedAt !== null ? pausedAt : audio.currentTime - startedAt;
        return Math.max(0, Math.floor(seconds * 1000));
      },
      forget(id) {
        this.halt(id);
        tracks.delete(id);
      },
    };
  })();

  // ---- The post: sent to the page's own server, never waited for ----
  function post(url) {
    const path = url.replace(/^http:\/\/[^/]*/, "");
    const abort = new AbortController();
    const timer = setTimeout(() => abort.abort(), POST_TIMEOUT_MS);
    fetch(path, {signal: abort.signal, cache: "no-store"}).catch(() => {}).finally(() => clearTimeout(timer));
  }

  // ---- System text through a canvas: coverage in the alpha of RGBA rows on the module's heap ----
  const textCanvas = document.createElement("canvas");
  function renderText(text, pixelHeight, bold, sizeOut) {
    const pen = textCanvas.getContext("2d", {willReadFrequently: true});
    const font = (bold ? "bold " : "") + pixelHeight + "px 'DejaVu Sans', Verdana, sans-serif";
    pen.font = font;
    const width = Math.ceil(pen.measureText(text).width), height = Math.ceil(pixelHeight * 1.25);
    if (width < 1) return 0;
    textCanvas.width = width;
    textCanvas.height = height;
    pen.font = font;
    pen.textBaseline = "top";
    pen.fillStyle = "#000";
    pen.fillText(text, 0, 0);
    const pixels = pen.getImageData(0, 0, width, height).data;
    const at = Module._malloc(pixels.length);
    Module.HEAPU8.set(pixels, at);
    Module.HEAP32[sizeOut >> 2] = width;
    Module.HEAP32[(sizeOut >> 2) + 1] = height;
    return at;
  }

  // ---- The frame: the game hands over the changed rectangle as RGBA bytes ----
  function showRect(rgba, left, top, width, height) {
    const bytes = new Uint8ClampedArray(Module.HEAPU8.buffer, rgba, width * height * 4);
    context.putImageData(new ImageData(bytes, width, height), left, top);
  }

  // ---- The high-score table lives in the page's storage ----
  function keepHighScores(path) {
    try {
      const bytes = Module.FS.readFile(path);
      localStorage.setItem(TABLE_KEY, btoa(String.fromCharCode.apply(null, bytes)));
    } catch (e) { /* a full or refused storage keeps the table for this visit only */ }
  }
  function restoreHighScores() {
    const kept = localStorage.getItem(TABLE_KEY);
    if (!kept) return;
    const bytes = Uint8Array.from(atob(kept), c => c.charCodeAt(0));
    Module.FS.writeFile("/Assets/hs.bmp", bytes);
  }

  // ---- Time: the game is called when its next moment is due, and on input ----
  function now() { return performance.now() - startMs; }
  function schedule(delayMs) {
    if (wakeTimer !== null) clearTimeout(wakeTimer);
    wakeTimer = delayMs < 0 ? null : setTimeout(wake, delayMs);
  }
  function wake() {
    wakeTimer = null;
    schedule(Module._mf_advance(now()));
  }
  function input(kind, x, y, button, key) {
    if (!started) return;
    Module._mf_advance(now());
    Module._mf_input(kind, x, y, button, key);
    schedule(Module._mf_advance(now()));
  }

  // ---- Pointer and keys, in window pixels and the game's key codes ----
  function pointerAt(event) {
    const box = canvas.getBoundingClientRect();
    return [Math.floor((event.clientX - box.left) * WIDTH / box.width),
            Math.floor((event.clientY - box.top) * HEIGHT / box.height)];
  }
  const BUTTONS = {0: 0, 1: 2, 2: 1};
  function listen() {
    canvas.addEventListener("mousemove", e => input(0, ...pointerAt(e), 0, 0));
    canvas.addEventListener("mousedown", e => {
      audio.resume();  // browsers let sound start only after the player's first gesture
      canvas.focus();
      input(1, ...pointerAt(e), BUTTONS[e.button] ?? 0, 0);
    });
    canvas.addEventListener("mouseup", e => input(2, ...pointerAt(e), BUTTONS[e.button] ?? 0, 0));
    canvas.addEventListener("contextmenu", e => e.preventDefault());
    const named = {Escape: 27, Enter: 13, Backspace: 8};
    window.addEventListener("keydown", e => {
      audio.resume();
      const code = named[e.key] ?? (e.key.length === 1 && e.key.charCodeAt(0) < 127 ? e.key.charCodeAt(0) : 0);
      if (!code || e.ctrlKey || e.metaKey || e.altKey) return;
      e.preventDefault();
      input(3, 0, 0, 0, code);
    });
    window.addEventListener("keyup", e => { if (e.key === "Backspace") input(4, 0, 0, 0, 8); });
  }

  // ---- Crisp pixels: the largest whole scale that fits the page ----
  function fit() {
    const scale = Math.max(1, Math.floor(Math.min(innerWidth / WIDTH, innerHeight / HEIGHT)));
    canvas.style.width = WIDTH * scale + "px";
    canvas.style.height = HEIGHT * scale + "px";
  }

  // ---- Start: settings, sounds, the stored table, then the game ----
  async function readSettings() {
    const text = await fetch("settings.ini", {cache: "no-store"}).then(r => (r.ok ? r.text() : ""), () => "");
    const parsed = ini.parse(text);
    const section = Object.keys(parsed).find(name => name.toLowerCase() === "settings");
    const pairs = section ? Object.entries(parsed[section]) : [];
    return pairs.map(([key, value]) => [key.toLowerCase(), String(value)]);
  }
  async function decodeSounds() {
    const names = Module.FS.readdir("/Assets").filter(name => /\.(wav|mp3)$/i.test(name));
    await Promise.all(names.map(async name => {
      const path = "/Assets/" + name;
      const bytes = Module.FS.readFile(path);
      try {
        buffers.set(path, await audio.decodeAudioData(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.length)));
      } catch (e) { /* a sound the browser cannot decode stays silent */ }
    }));
  }
  async function start() {
    api.settings = await readSettings();
    await decodeSounds();
    restoreHighScores();
    fit();
    addEventListener("resize", fit);
    listen();
    // ?seed=N&date=YYYY-MM-DD give a run its seed and date, as the simulator's options do.
    const asked = new URLSearchParams(location.search);
    const date = /^(\d{4})-(\d{2})-(\d{2})$/.exec(asked.get("date") || "");
    const today = date ? new Date(+date[1], +date[2] - 1, +date[3]) : new Date();
    const seed = /^\d+$/.test(asked.get("seed") || "") ? Number(asked.get("seed")) >>> 0
                                                       : Math.floor(Math.random() * 4294967296) >>> 0;
    startMs = performance.now();
    Module._mf_start(seed, today.getFullYear(), today.getMonth() + 1, today.getDate());
    started = true;
    document.getElementById("status").remove();
    canvas.focus();
    wake();
    api.ready = true;
  }

  const api = {playSound, stopSound, music, post, renderText, showRect, keepHighScores, settings: [], ready: false,
               audio, start};
  return api;
})();

var Module = {
  canvas: document.getElementById("game"),
  noExitRuntime: true,
  onRuntimeInitialized: () => { Mibbetfall.start(); },
};
