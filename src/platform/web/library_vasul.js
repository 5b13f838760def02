// The browser's side of the web backend: the canvas, pointer and keyboard input, WebAudio and
// the page's clock. The C++ side (web_platform.cpp, web_audio.cpp) calls the functions below;
// the page (web/) hands over the canvas as Module.canvas before the game starts.

mergeInto(LibraryManager.library, {
  $VasulWeb: {
    width: 640,
    height: 480,
    canvas: null,
    context: null,
    frame: null,       // a 640 x 480 canvas the frame is put into, then scaled onto the page
    frameContext: null,
    image: null,       // the ImageData over the wasm heap; made again when the heap grows
    imagePointer: 0,
    scale: 1,          // the whole-number scale the frame is drawn at in the canvas
    input: [],         // id, wparam, lparam of each message not yet taken
    lostSinceFlip: false,
    closed: false,
    heldKeys: null,    // made when the page opens: the library's objects hold only plain values
    // The last left or right press, for double clicks: a second press within the system's
    // time and distance is a double click, and the series starts again after it.
    lastPress: null,
    lastPointer: -1,   // the last position the game heard of
    touches: null,
    primaryTouch: null,
    leftHeld: false,
    twoFingerTap: null,
    audio: null,

    // Win32's message and key values.
    WM_KEYDOWN: 0x0100, WM_KEYUP: 0x0101, WM_MOUSEMOVE: 0x0200, WM_LBUTTONDOWN: 0x0201,
    WM_LBUTTONUP: 0x0202, WM_LBUTTONDBLCLK: 0x0203, WM_RBUTTONDOWN: 0x0204,
    WM_RBUTTONDBLCLK: 0x0206, WM_DROPFILES: 0x0233,
    DOUBLE_CLICK_MS: 500,
    drops: 0,          // drops so far; drop k's files lie in /tmp/vasul-drop/k until taken
    TWO_FINGER_TAP_MS: 400,

    // The game's message queue coalesces the moves of a fast pointer as the desktop does.
    post: function(id, wparam, lparam) {
      // Until the page has the whole pack, the game only follows the pointer: a press could
      // lead to a scene whose pictures are still on their way.
      if (id !== VasulWeb.WM_MOUSEMOVE && !Module['packComplete']) return;
      VasulWeb.input.push(id, wparam, lparam);
    },

    // Files dropped on the page or chosen with its button: written into the game's file system,
    // one folder a drop, then told to the game as one WM_DROPFILES with the folder's number.
    dropFiles: function(files) {
      var list = Array.prototype.slice.call(files || []);
      if (!list.length) return Promise.resolve();
      return Promise.all(list.map(function(f) { return f.arrayBuffer(); })).then(function(buffers) {
        var k = ++VasulWeb.drops, dir = '/tmp/vasul-drop/' + k;
        // The game has long taken the drops before the last few.
        try { VasulWeb.removeTree('/tmp/vasul-drop/' + (k - 4)); } catch (e) {}
        FS.mkdirTree(dir);
        list.forEach(function(f, i) {
          var name = String(f.name || 'picture').replace(/[\/\x00]/g, '_') || 'picture';
          FS.writeFile(dir + '/' + name, new Uint8Array(buffers[i]));
        });
        VasulWeb.post(VasulWeb.WM_DROPFILES, list.length, k);
      });
    },

    removeTree: function(dir) {
      if (!FS.analyzePath(dir).exists) return;
      FS.readdir(dir).forEach(function(name) {
        if (name === '.' || name === '..') return;
        var full = dir + '/' + name;
        if (FS.isDir(FS.stat(full).mode)) VasulWeb.removeTree(full); else FS.unlink(full);
      });
      FS.rmdir(dir);
    },

    point: function(event) {
      var rect = VasulWeb.canvas.getBoundingClientRect();
      var w = rect.width || VasulWeb.width, h = rect.height || VasulWeb.height;
      var x = Math.floor((event.clientX - rect.left) * VasulWeb.width / w);
      var y = Math.floor((event.clientY - rect.top) * VasulWeb.height / h);
      // The pointer stays on the screen, as an exclusive full-screen mode confines it.
      x = Math.min(Math.max(x, 0), VasulWeb.width - 1);
      y = Math.min(Math.max(y, 0), VasulWeb.height - 1);
      return {x: x, y: y, packed: ((y & 0xFFFF) << 16 | (x & 0xFFFF)) >>> 0};
    },

    // The press message, a double click when it is the second of a quick pair.
    pressMessage: function(button, p, slop) {
      var now = performance.now(), last = VasulWeb.lastPress;
      var dbl = last && last.button === button && now - last.time <= VasulWeb.DOUBLE_CLICK_MS &&
          Math.abs(p.x - last.x) <= slop && Math.abs(p.y - last.y) <= slop;
      VasulWeb.lastPress = dbl ? null : {button: button, time: now, x: p.x, y: p.y};
      if (button === 0) return dbl ? VasulWeb.WM_LBUTTONDBLCLK : VasulWeb.WM_LBUTTONDOWN;
      return dbl ? VasulWeb.WM_RBUTTONDBLCLK : VasulWeb.WM_RBUTTONDOWN;
    },

    // Mouse and pen: the left and right buttons as they are.
    mouseDown: function(e, p) {
      if (e.button !== 0 && e.button !== 2) return;
      if (p.packed !== VasulWeb.lastPointer) VasulWeb.post(VasulWeb.WM_MOUSEMOVE, 0, p.packed);
      VasulWeb.post(VasulWeb.pressMessage(e.button, p, 4), 0, p.packed);
      if (e.button === 0) VasulWeb.leftHeld = true;
    },

    // A finger is the left button; a quick tap of two fingers is the right button. A finger
    // held still does nothing more, so it never pauses the game.
    touchDown: function(e, p) {
      var t = VasulWeb.touches;
      t.set(e.pointerId, {x: e.clientX, y: e.clientY, p: p});
      if (t.size === 1) {
        VasulWeb.primaryTouch = e.pointerId;
        VasulWeb.twoFingerTap = null;
        VasulWeb.post(VasulWeb.WM_MOUSEMOVE, 0, p.packed);
        VasulWeb.post(VasulWeb.pressMessage(0, p, 16), 0, p.packed);
        VasulWeb.leftHeld = true;
      } else if (t.size === 2) {
        var first = t.get(VasulWeb.primaryTouch);
        VasulWeb.twoFingerTap = {time: performance.now(), moved: false,
                                 at: first ? first.p.packed : p.packed};
        VasulWeb.releaseLeft();
      }
    },

    releaseLeft: function() {
      if (!VasulWeb.leftHeld) return;
      VasulWeb.leftHeld = false;
      var t = VasulWeb.touches.get(VasulWeb.primaryTouch);
      var lparam = t ? t.p.packed : VasulWeb.lastPointer;
      VasulWeb.post(VasulWeb.WM_LBUTTONUP, 0, lparam || 0);
    },

    onPointerDown: function(e) {
      e.preventDefault();
      VasulWeb.resumeAudio();
      if (VasulWeb.closed) return;
      try { VasulWeb.canvas.setPointerCapture(e.pointerId); } catch (ignored) {}
      var p = VasulWeb.point(e);
      if (e.pointerType === 'touch') VasulWeb.touchDown(e, p);
      else VasulWeb.mouseDown(e, p);
      VasulWeb.lastPointer = p.packed;
    },

    onPointerMove: function(e) {
      if (VasulWeb.closed) return;
      var p = VasulWeb.point(e);
      if (e.pointerType === 'touch') {
        var t = VasulWeb.touches.get(e.pointerId);
        if (!t) return;
        var tap = VasulWeb.twoFingerTap;
        if (tap && Math.hypot(e.clientX - t.x, e.clientY - t.y) > 12) tap.moved = true;
        t.p = p;
        if (e.pointerId !== VasulWeb.primaryTouch || !VasulWeb.leftHeld) return;
      }
      VasulWeb.lastPointer = p.packed;
      VasulWeb.post(VasulWeb.WM_MOUSEMOVE, 0, p.packed);
    },

    onPointerUp: function(e) {
      if (VasulWeb.closed) return;
      var p = VasulWeb.point(e);
      if (e.pointerType !== 'touch') {
        if (e.button === 0 && VasulWeb.leftHeld) {
          VasulWeb.leftHeld = false;
          VasulWeb.post(VasulWeb.WM_LBUTTONUP, 0, p.packed);
        }
        return;
      }
      var t = VasulWeb.touches;
      if (!t.has(e.pointerId)) return;
      if (e.pointerId === VasulWeb.primaryTouch && VasulWeb.leftHeld) {
        t.get(e.pointerId).p = p;
        VasulWeb.post(VasulWeb.WM_MOUSEMOVE, 0, p.packed);
        VasulWeb.releaseLeft();
      }
      t.delete(e.pointerId);
      var tap = VasulWeb.twoFingerTap;
      if (t.size === 0 && tap) {
        VasulWeb.twoFingerTap = null;
        if (!tap.moved && e.type === 'pointerup' &&
            performance.now() - tap.time <= VasulWeb.TWO_FINGER_TAP_MS) {
          VasulWeb.post(VasulWeb.WM_RBUTTONDOWN, 0, tap.at);
        }
      }
    },

    // Win32's virtual key for a key of the keyboard, by its place rather than its letter.
    virtualKey: function(code) {
      var m = /^Key([A-Z])$/.exec(code);
      if (m) return m[1].charCodeAt(0);
      m = /^Digit([0-9])$/.exec(code);
      if (m) return 48 + +m[1];
      m = /^Numpad([0-9])$/.exec(code);
      if (m) return 96 + +m[1];
      m = /^F([0-9]+)$/.exec(code);
      if (m && +m[1] >= 1 && +m[1] <= 12) return 111 + +m[1];
      var named = {
        Backspace: 8, Tab: 9, Enter: 13, NumpadEnter: 13, ShiftLeft: 16, ShiftRight: 16,
        ControlLeft: 17, ControlRight: 17, AltLeft: 18, AltRight: 18, Pause: 19, CapsLock: 20,
        Escape: 27, Space: 32, PageUp: 33, PageDown: 34, End: 35, Home: 36, ArrowLeft: 37,
        ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Insert: 45, Delete: 46
      };
      return named[code] || 0;
    },

    isDisplaySwitch: function(e) {
      return e.code === 'F11' || (e.altKey && (e.code === 'Enter' || e.code === 'NumpadEnter'));
    },

    onKeyDown: function(e) {
      VasulWeb.resumeAudio();
      if (VasulWeb.closed) return;
      // Alt+Enter and F11 belong to the page, not to the game.
      if (VasulWeb.isDisplaySwitch(e)) {
        e.preventDefault();
        if (!e.repeat) VasulWeb.toggleFullscreen();
        return;
      }
      var vk = VasulWeb.virtualKey(e.code);
      if (!vk) return;
      // The browser keeps its own shortcuts (Ctrl+R, Ctrl+W); the game still hears the keys.
      if (!e.ctrlKey && !e.metaKey) e.preventDefault();
      VasulWeb.heldKeys.add(vk);
      // Auto-repeat arrives as further key-downs, as on Win32.
      VasulWeb.post(VasulWeb.WM_KEYDOWN, vk, 0);
    },

    onKeyUp: function(e) {
      if (VasulWeb.closed || VasulWeb.isDisplaySwitch(e)) return;
      var vk = VasulWeb.virtualKey(e.code);
      if (!vk) return;
      VasulWeb.heldKeys.delete(vk);
      VasulWeb.post(VasulWeb.WM_KEYUP, vk, 0);
    },

    // Keys held when the page loses the keyboard would never come up: they are let go.
    onBlur: function() {
      VasulWeb.heldKeys.forEach(function(vk) { VasulWeb.post(VasulWeb.WM_KEYUP, vk, 0); });
      VasulWeb.heldKeys.clear();
    },

    toggleFullscreen: function() {
      var target = Module['fullscreenElement'] || document.documentElement;
      if (document.fullscreenElement) {
        document.exitFullscreen().catch(function() {});
      } else if (target.requestFullscreen) {
        target.requestFullscreen({navigationUI: 'hide'}).catch(function(err) {
          console.warn('Vasul: full screen was refused: ' + err.message);
        });
      }
    },

    // The frame fills the page's area, letterboxed. Whole-number scales of device pixels are
    // drawn pixel for pixel; between them the browser smooths a whole-number enlargement.
    layout: function() {
      var c = VasulWeb.canvas, box = c.parentElement || document.body;
      var dpr = window.devicePixelRatio || 1;
      var areaW = box.clientWidth || window.innerWidth, areaH = box.clientHeight || window.innerHeight;
      var fit = Math.min(areaW * dpr / VasulWeb.width, areaH * dpr / VasulWeb.height);
      if (!(fit > 0)) fit = 1;
      // Within half a percent of a whole scale, take it: pixels stay square and sharp.
      var whole = Math.round(fit);
      if (whole >= 1 && Math.abs(fit - whole) < 0.005 * fit) fit = whole;
      var scale = Math.max(1, Math.floor(fit));
      if (c.width !== VasulWeb.width * scale) {
        c.width = VasulWeb.width * scale;
        c.height = VasulWeb.height * scale;
      }
      // Resizing a canvas resets its drawing state.
      if (!VasulWeb.context) VasulWeb.context = c.getContext('2d', {alpha: false});
      VasulWeb.scale = scale;
      VasulWeb.context.imageSmoothingEnabled = false;
      c.style.width = (VasulWeb.width * fit / dpr) + 'px';
      c.style.height = (VasulWeb.height * fit / dpr) + 'px';
      c.style.imageRendering = fit === scale ? 'pixelated' : 'auto';
      if (VasulWeb.image) VasulWeb.draw();
    },

    // At scale 1 the frame goes straight onto the page; larger, it is enlarged from a canvas
    // of its own.
    draw: function() {
      var s = VasulWeb.scale;
      if (s === 1) {
        VasulWeb.context.putImageData(VasulWeb.image, 0, 0);
        return;
      }
      VasulWeb.frameContext.putImageData(VasulWeb.image, 0, 0);
      VasulWeb.context.drawImage(VasulWeb.frame, 0, 0, VasulWeb.width * s, VasulWeb.height * s);
    },

    resumeAudio: function() {
      var a = VasulWeb.audio;
      if (a && a.context.state === 'suspended' && !document.hidden) {
        a.context.resume().catch(function() {});
      }
    },

    onVisibility: function() {
      var a = VasulWeb.audio;
      if (document.hidden) {
        VasulWeb.lostSinceFlip = true;
        if (a && a.context.state === 'running') a.context.suspend().catch(function() {});
      } else {
        VasulWeb.resumeAudio();
      }
    },

    channelStart: function(a, channel, id) {
      var ch = a.channels[channel], s = a.streams.get(id);
      var source = a.context.createBufferSource();
      source.buffer = s.buffer;
      source.connect(a.gains[channel]);
      source.onended = function() {
        if (ch.source === source) ch.source = null;
      };
      ch.source = source;
      ch.pending = 0;
      source.start();
    },

    channelStop: function(a, channel) {
      var ch = a.channels[channel];
      ch.pending = 0;
      if (ch.source) {
        var source = ch.source;
        ch.source = null;
        try { source.stop(); } catch (ignored) {}
      }
    }
  },

  vasul_web_open__deps: ['$VasulWeb'],
  vasul_web_open: function() {
    var c = Module['canvas'];
    if (!c) return 0;
    VasulWeb.canvas = c;
    VasulWeb.heldKeys = new Set();
    VasulWeb.touches = new Map();
    VasulWeb.frame = document.createElement('canvas');
    VasulWeb.frame.width = VasulWeb.width;
    VasulWeb.frame.height = VasulWeb.height;
    VasulWeb.frameContext = VasulWeb.frame.getContext('2d', {alpha: false});
    VasulWeb.layout();
    c.addEventListener('pointerdown', VasulWeb.onPointerDown);
    c.addEventListener('pointermove', VasulWeb.onPointerMove);
    c.addEventListener('pointerup', VasulWeb.onPointerUp);
    c.addEventListener('pointercancel', VasulWeb.onPointerUp);
    c.addEventListener('contextmenu', function(e) { e.preventDefault(); });
    // A picture dropped anywhere on the page goes to the game, never to the browser's tab.
    window.addEventListener('dragover', function(e) {
      e.preventDefault();
      if (e.dataTransfer) e.dataTransfer.dropEffect = 'copy';
    });
    window.addEventListener('drop', function(e) {
      e.preventDefault();
      if (e.dataTransfer) VasulWeb.dropFiles(e.dataTransfer.files);
    });
    Module['addPictures'] = VasulWeb.dropFiles;
    c.addEventListener('dblclick', function(e) { e.preventDefault(); });
    c.addEventListener('wheel', function(e) { e.preventDefault(); }, {passive: false});
    c.addEventListener('touchstart', function(e) { e.preventDefault(); }, {passive: false});
    window.addEventListener('keydown', VasulWeb.onKeyDown);
    window.addEventListener('keyup', VasulWeb.onKeyUp);
    window.addEventListener('blur', VasulWeb.onBlur);
    window.addEventListener('resize', VasulWeb.layout);
    document.addEventListener('fullscreenchange', VasulWeb.layout);
    document.addEventListener('visibilitychange', VasulWeb.onVisibility);
    if (window.matchMedia) {
      // A move to a screen of another pixel density changes the whole-number scale.
      var watchDensity = function() {
        window.matchMedia('(resolution: ' + window.devicePixelRatio + 'dppx)')
            .addEventListener('change', function() { VasulWeb.layout(); watchDensity(); }, {once: true});
      };
      watchDensity();
    }
    Module['toggleFullscreen'] = VasulWeb.toggleFullscreen;
    return 1;
  },

  // Takes up to `capacity` messages into out (three words each); returns how many.
  vasul_web_take_input__deps: ['$VasulWeb'],
  vasul_web_take_input: function(out, capacity) {
    var q = VasulWeb.input, n = Math.min(capacity, q.length / 3);
    for (var i = 0; i < n * 3; ++i) HEAPU32[(out >> 2) + i] = q[i];
    q.splice(0, n * 3);
    return n;
  },

  // Whether the page was hidden since the last frame shown: the display was lost.
  vasul_web_display_lost__deps: ['$VasulWeb'],
  vasul_web_display_lost: function() {
    if (document.hidden) return 1;
    var lost = VasulWeb.lostSinceFlip;
    VasulWeb.lostSinceFlip = false;
    return lost ? 1 : 0;
  },

  // Shows the frame at `rgba` (640 x 480, four bytes a pixel).
  vasul_web_present__deps: ['$VasulWeb'],
  vasul_web_present: function(rgba) {
    var bytes = VasulWeb.width * VasulWeb.height * 4;
    if (!VasulWeb.image || VasulWeb.imagePointer !== rgba ||
        VasulWeb.image.data.buffer !== HEAPU8.buffer) {
      VasulWeb.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, bytes),
                                     VasulWeb.width, VasulWeb.height);
      VasulWeb.imagePointer = rgba;
    }
    VasulWeb.draw();
    // When the player first saw the game, for the page and its tests.
    if (!Module['firstFrameMs']) Module['firstFrameMs'] = performance.now();
  },

  vasul_web_hide_cursor__deps: ['$VasulWeb'],
  vasul_web_hide_cursor: function() {
    if (VasulWeb.canvas) VasulWeb.canvas.style.cursor = 'none';
  },

  // The window is gone: no more input, and the pointer comes back.
  vasul_web_close__deps: ['$VasulWeb'],
  vasul_web_close: function() {
    VasulWeb.closed = true;
    VasulWeb.input.length = 0;
    if (VasulWeb.canvas) VasulWeb.canvas.style.cursor = '';
  },

  // The game ended with `code`: the page may offer another.
  vasul_web_ended: function(code) {
    if (Module['onGameEnded']) Module['onGameEnded'](code);
  },

  // Called after each batch of passes, with the number of passes run: the page keeps the
  // player's files.
  vasul_web_after_passes: function(passes) {
    if (Module['afterPasses']) Module['afterPasses'](passes);
  },

  vasul_web_audio_init__deps: ['$VasulWeb'],
  vasul_web_audio_init: function() {
    if (VasulWeb.audio) return 1;
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return 0;
    var context;
    try { context = new Context(); } catch (e) { return 0; }
    var gains = [context.createGain(), context.createGain()];
    gains.forEach(function(g) { g.connect(context.destination); });
    VasulWeb.audio = {
      context: context,
      gains: gains,
      streams: new Map(),
      // What each channel plays (a source), or the stream it waits to start (pending).
      channels: [{source: null, pending: 0}, {source: null, pending: 0}]
    };
    Module['audioContext'] = context;
    // The browser lets sound start only after the player's first click, tap or key.
    ['pointerdown', 'keydown', 'touchend'].forEach(function(type) {
      window.addEventListener(type, VasulWeb.resumeAudio, true);
    });
    return 1;
  },

  // Decodes the file of `size` bytes at `data` as stream `id`. Decoding takes a while; a
  // channel asked to play the stream meanwhile counts as playing and starts when it is done.
  vasul_web_audio_open__deps: ['$VasulWeb'],
  vasul_web_audio_open: function(id, data, size) {
    var a = VasulWeb.audio;
    if (!a) return;
    var stream = {buffer: null, failed: false};
    a.streams.set(id, stream);
    var bytes = HEAPU8.slice(data, data + size).buffer;
    a.context.decodeAudioData(bytes).then(function(buffer) {
      stream.buffer = buffer;
      a.channels.forEach(function(ch, n) {
        if (ch.pending === id && a.streams.get(id) === stream) VasulWeb.channelStart(a, n, id);
      });
    }, function() {
      stream.failed = true;
      a.channels.forEach(function(ch) {
        if (ch.pending === id) ch.pending = 0;
      });
    });
  },

  vasul_web_audio_free__deps: ['$VasulWeb'],
  vasul_web_audio_free: function(id) {
    if (VasulWeb.audio) VasulWeb.audio.streams.delete(id);
  },

  vasul_web_audio_play__deps: ['$VasulWeb'],
  vasul_web_audio_play: function(channel, id) {
    var a = VasulWeb.audio;
    if (!a) return;
    var s = a.streams.get(id);
    if (!s || s.failed) return;
    VasulWeb.channelStop(a, channel);
    if (s.buffer) {
      VasulWeb.channelStart(a, channel, id);
    } else {
      a.channels[channel].pending = id;
    }
  },

  vasul_web_audio_volume__deps: ['$VasulWeb'],
  vasul_web_audio_volume: function(channel, volume) {
    if (VasulWeb.audio) VasulWeb.audio.gains[channel].gain.value = volume / 255;
  },

  vasul_web_audio_playing__deps: ['$VasulWeb'],
  vasul_web_audio_playing: function(channel) {
    var ch = VasulWeb.audio && VasulWeb.audio.channels[channel];
    return ch && (ch.source || ch.pending) ? 1 : 0;
  },

  vasul_web_audio_stop__deps: ['$VasulWeb'],
  vasul_web_audio_stop: function(channel) {
    if (VasulWeb.audio) VasulWeb.channelStop(VasulWeb.audio, channel);
  },

  vasul_web_audio_close__deps: ['$VasulWeb'],
  vasul_web_audio_close: function() {
    var a = VasulWeb.audio;
    if (!a) return;
    VasulWeb.channelStop(a, 0);
    VasulWeb.channelStop(a, 1);
    a.streams.clear();
    a.context.close().catch(function() {});
    VasulWeb.audio = null;
  }
});
