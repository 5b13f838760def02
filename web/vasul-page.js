// The page around the game: fetches the data pack with a progress bar, keeps the player's
// files (vasul.ini) in IndexedDB, starts the game on the canvas, offers full screen and a new
// game after the last one ended, and installs the service worker that lets it play offline.
'use strict';

(function () {
  const BUILD = '@BUILD@';  // VERSION-HASH of the build, written in by scripts/build-web
  // One cache a build, of this copy of the page: another copy on the same host keeps its own.
  const CACHE = `vasul-${BUILD} ${new URL('./', location.href).pathname}`;
  const BUILT = BUILD.indexOf('@') < 0;
  const DATA = '/data';     // the pack, in the game's memory file system
  const PLAYER = '/player'; // the player's folder; the game keeps vasul.ini in PLAYER/vasul/

  const $ = (id) => document.getElementById(id);
  const canvas = $('game');

  function fail(message) {
    $('loading').hidden = true;
    $('reason').textContent = message;
    $('failed').hidden = false;
  }
  $('retry').addEventListener('click', () => location.reload());
  $('again').addEventListener('click', () => location.reload());

  // The query string's options: ?seed=N plays the game that seed deals; ?record keeps every
  // message and clock reading in the game's file RECORDING, which replays the game exactly
  // with vasul --replay.
  const RECORDING = '/tmp/vasul.replay';
  function gameArguments() {
    const args = [];
    const query = new URLSearchParams(location.search);
    for (const [key, value] of query) {
      if (key === 'seed' && /^[0-9]{1,10}$/.test(value) && Number(value) <= 4294967295) {
        args.push('--seed', value);
      } else if (key === 'record') {
        args.push('--record', RECORDING);
      } else {
        console.info(`Vasul: the page option ${key}=${value} is not one the game takes ` +
                     '(seed=N, record)');
      }
    }
    return args;
  }

  function megabytes(bytes) {
    return (bytes / 1e6).toFixed(1);
  }

  // Every file of the pack, fetched at once; the bar counts the bytes of the whole pack. The
  // game starts as soon as each file holds the bytes its title needs (the listing's "start":
  // the first picture of the archive, no stage music) and plays on when the rest is in; each
  // file's array is the one the game reads, filled as its bytes arrive.
  function fetchPack() {
    let started;
    const start = new Promise((resolve, reject) => { started = {resolve, reject}; });
    start.then(() => performance.mark('vasul-title-bytes'), () => {});
    const done = fetch('pack.json').then((r) => {
      if (!r.ok) throw new Error(`pack.json: ${r.status} ${r.statusText}`);
      return r.json();
    }).then(async (listing) => {
      const cache = self.caches && BUILT ? await caches.open(CACHE) : null;
      const files = listing.files.map((f) => ({path: f.path, size: f.size, start: f.start,
        bytes: new Uint8Array(f.size), at: 0}));
      let received = 0, shown = 0;
      const show = () => {
        // At most once a frame: a chunk arrives far more often.
        if (performance.now() - shown < 16 && received < listing.total) return;
        shown = performance.now();
        const percent = `${(100 * received / listing.total).toFixed(1)}%`;
        $('fill').style.width = percent;
        $('more-fill').style.width = percent;
        $('status').textContent = `Loading the pictures and music: ${megabytes(received)} of ` +
            `${megabytes(listing.total)} MB`;
      };
      const ready = () => files.every((f) => f.at >= f.start);
      const kept = [];
      const fetchFile = async (file) => {
        const url = `pack/${file.path}`;
        let response = cache ? await cache.match(url) : undefined;
        const fromCache = !!response;
        if (!response) response = await fetch(url);
        if (!response.ok) throw new Error(`${url}: ${response.status} ${response.statusText}`);
        // Kept for a visit without a network; the service worker serves it from there.
        if (!fromCache && cache) kept.push(cache.put(url, response.clone()));
        const reader = response.body.getReader();
        for (;;) {
          const {done, value} = await reader.read();
          if (done) break;
          if (file.at + value.length > file.size) throw new Error(`${url} is larger than listed`);
          file.bytes.set(value, file.at);
          file.at += value.length;
          received += value.length;
          show();
          if (ready()) started.resolve(files);
        }
        if (file.at !== file.size) throw new Error(`${url} is shorter than listed`);
      };
      show();
      if (ready()) started.resolve(files);
      // What the title needs first, the rest once the game runs: six connections at most
      // reach one host, and the title should not wait behind the stage music.
      const first = files.filter((f) => f.start > 0), later = files.filter((f) => f.start === 0);
      const firstDone = Promise.all(first.map(fetchFile));
      await Promise.race([start, firstDone]);
      await Promise.all([firstDone, ...later.map(fetchFile)]);
      performance.mark('vasul-pack-loaded');
      // Once the pack is in the cache and the worker runs, the game plays without a network.
      Promise.all(kept).then(() => navigator.serviceWorker?.ready).then(() => {
        Module.offlineReady = true;
      }, (e) => console.info(`Vasul: the pack was not kept for offline play (${e})`));
    });
    done.catch((e) => started.reject(e));
    return {start, done};
  }

  // The player's files in IndexedDB: one record a file, each replaced whole in one durable
  // transaction, so that a crash at any moment leaves the old file or the new one.
  const store = {
    db: null,
    stamps: new Map(),  // path -> what the file was when last stored
    warned: false,

    warn(message) {
      if (this.warned) return;
      this.warned = true;
      console.warn(`Vasul: ${message}`);
    },

    open() {
      return new Promise((resolve) => {
        let request;
        try {
          request = indexedDB.open('vasul', 1);
        } catch (e) {
          this.warn(`your settings and scores cannot be kept in this browser (${e.message})`);
          resolve();
          return;
        }
        request.onupgradeneeded = () => request.result.createObjectStore('files');
        request.onsuccess = () => {
          this.db = request.result;
          resolve();
        };
        request.onerror = () => {
          this.warn(`your settings and scores cannot be kept in this browser (${request.error})`);
          resolve();
        };
      });
    },

    // Every stored file that is whole: {path, bytes}. A damaged one is left out, so that the
    // game starts from its defaults, with one warning.
    async load() {
      await this.open();
      if (!this.db) return [];
      const [keys, values] = await new Promise((resolve) => {
        const files = this.db.transaction('files', 'readonly').objectStore('files');
        const keys = files.getAllKeys(), values = files.getAll();
        values.onsuccess = () => resolve([keys.result, values.result]);
        values.onerror = () => resolve([[], []]);
      });
      const out = [];
      keys.forEach((path, i) => {
        const v = values[i];
        // A relative path of plain names: the player's pictures keep whatever names they had.
        const safe = typeof path === 'string' && path.length > 0 && !path.startsWith('/') &&
            !/[\x00-\x1f]/.test(path) &&
            path.split('/').every((part) => part !== '' && part !== '.' && part !== '..');
        if (safe && v && v.data instanceof Uint8Array && v.size === v.data.length) {
          out.push({path: path, bytes: v.data});
        } else {
          this.warn(`the stored ${typeof path === 'string' ? path : 'file'} is damaged; ` +
                    'the game starts from its default settings');
        }
      });
      return out;
    },

    // The files of the player's folder that changed since they were last stored, and those
    // that are gone.
    changes(FS) {
      const seen = new Set(), changed = [];
      const walk = (dir, prefix) => {
        let names;
        try { names = FS.readdir(dir); } catch (e) { return; }
        for (const name of names) {
          if (name === '.' || name === '..' || name.endsWith('.tmp')) continue;
          const full = `${dir}/${name}`, path = prefix + name;
          const st = FS.stat(full);
          if (FS.isDir(st.mode)) { walk(full, `${path}/`); continue; }
          seen.add(path);
          const stamp = `${st.ino}:${st.size}:${st.mtime.getTime()}`;
          if (this.stamps.get(path) !== stamp) changed.push({path, stamp, full});
        }
      };
      walk(PLAYER, '');
      return {changed, removed: [...this.stamps.keys()].filter((p) => !seen.has(p))};
    },

    // What the folder holds at start is what the database holds: nothing to store yet.
    remember(FS) {
      for (const c of this.changes(FS).changed) this.stamps.set(c.path, c.stamp);
    },

    // Stores every file of the player's folder that changed since the last call.
    persist(FS) {
      if (!this.db) return;
      const {changed, removed} = this.changes(FS);
      if (!changed.length && !removed.length) return;
      let tx;
      try {
        tx = this.db.transaction('files', 'readwrite', {durability: 'strict'});
      } catch (e) {
        this.warn(`your settings could not be stored (${e.message})`);
        return;
      }
      const files = tx.objectStore('files');
      for (const c of changed) {
        const data = FS.readFile(c.full);
        files.put({data, size: data.length}, c.path);
        this.stamps.set(c.path, c.stamp);
      }
      for (const p of removed) {
        files.delete(p);
        this.stamps.delete(p);
      }
      tx.onabort = tx.onerror = () => {
        // Tried again after the next pass.
        for (const c of changed) this.stamps.delete(c.path);
        this.warn(`your settings could not be stored (${tx.error})`);
      };
    }
  };

  // own: the game's file system may keep the bytes instead of copying them.
  function writeFiles(FS, root, files, own) {
    for (const f of files) {
      const full = `${root}/${f.path}`;
      FS.mkdirTree(full.substring(0, full.lastIndexOf('/')));
      FS.writeFile(full, f.bytes, {canOwn: !!own});
    }
  }

  // The button shows while the pointer moves and rests out of the game's way after a moment.
  // The buttons show while the pointer moves and rest out of the game's way after a moment.
  function wakeWithPointer(button) {
    let timer = 0;
    const wake = () => {
      button.classList.remove('resting');
      clearTimeout(timer);
      timer = setTimeout(() => button.classList.add('resting'), 3000);
    };
    document.addEventListener('pointermove', wake, true);
    document.addEventListener('pointerdown', wake, true);
    wake();
  }

  // A file chooser for the player's own pictures, beside dropping them on the page.
  function showPicturesButton() {
    const button = $('pictures'), input = $('picture-files');
    button.hidden = false;
    wakeWithPointer(button);
    button.addEventListener('click', () => input.click());
    input.addEventListener('change', () => {
      const chosen = input.files;
      if (Module.addPictures) Module.addPictures(chosen).then(() => { input.value = ''; });
      canvas.focus();
    });
  }

  function showFullscreenButton() {
    const button = $('fullscreen');
    if (!document.fullscreenEnabled) return;
    wakeWithPointer(button);
    const update = () => { button.hidden = !!document.fullscreenElement; };
    button.addEventListener('click', () => {
      if (Module.toggleFullscreen) Module.toggleFullscreen();
      canvas.focus();
    });
    document.addEventListener('fullscreenchange', update);
    update();
  }

  function registerServiceWorker() {
    if (!('serviceWorker' in navigator) || !BUILT) return;
    navigator.serviceWorker.register('sw.js').catch((e) => {
      console.info(`Vasul: no offline play (${e.message})`);
    });
  }

  const pack = fetchPack();
  const saved = store.load();
  pack.done.then(() => {
    // The game hears the player from now on.
    Module.packComplete = true;
    $('more').hidden = true;
  }, (e) => {
    if (Module.calledRun) {
      $('more-text').textContent = `The rest of the game could not be loaded (${e.message}). ` +
          'Reload the page to try again.';
    }
  });

  window.Module = {
    canvas: canvas,
    fullscreenElement: $('stage'),
    arguments: gameArguments(),
    preRun: [function () {
      Module.addRunDependency('vasul-files');
      Promise.all([pack.start, saved]).then(([packFiles, playerFiles]) => {
        Module.ENV.VASUL_DATA_DIR = DATA;
        Module.ENV.XDG_DATA_HOME = PLAYER;
        writeFiles(Module.FS, DATA, packFiles, true);
        Module.FS.mkdirTree(PLAYER);
        writeFiles(Module.FS, PLAYER, playerFiles);
        store.remember(Module.FS);
        performance.mark('vasul-files-written');
        Module.removeRunDependency('vasul-files');
      }, (e) => {
        fail(`The game's pictures and music could not be loaded (${e.message}). ` +
             'Check the connection and try again.');
      });
    }],
    onRuntimeInitialized: function () {
      performance.mark('vasul-main');
      $('loading').hidden = true;
      $('more').hidden = !!Module.packComplete;
      showFullscreenButton();
      showPicturesButton();
      canvas.focus();
    },
    afterPasses: function (passes) {
      Module.passes = passes;
      store.persist(Module.FS);
    },
    onGameEnded: function () {
      store.persist(Module.FS);
      $('fullscreen').hidden = true;
      $('pictures').hidden = true;
      $('ended').hidden = false;
      $('again').focus();
    },
    onAbort: function (what) {
      fail(`The game stopped: ${what}`);
    }
  };
  // The last changes, should the page go away between two frames.
  window.addEventListener('pagehide', () => { if (Module.FS) store.persist(Module.FS); });

  const script = document.createElement('script');
  script.src = 'vasul.js';
  script.onerror = () => fail('The game could not be loaded. Check the connection and try again.');
  document.body.appendChild(script);
  window.addEventListener('load', registerServiceWorker);
})();
