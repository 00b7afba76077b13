// The page's side of the browser back end (platform/web): the canvas, the
// notes over it, the tab's title and icon, the sound output, the touch
// controls and the gamepads. The C++ side calls these; index.html lays the
// page out, runs the touch controls and sets up Module.

mergeInto(LibraryManager.library, {
  $kvPage: {
    canvas: null,
    context: null,
    shownOnce: false,
    mode: 0,  // how the browser calls the loop: kvPageRest's answer
    wait: -1,  // on a still screen, milliseconds from one call's start to the next
    // The picture's pixels as the canvas takes them, over the game's own
    // memory: made again only when that memory moves or grows.
    picture: null,
  },

  // Sound goes out through Web Audio in short buffers, each scheduled to
  // start where the last one ends, kept a little ahead of the output: enough
  // to ride out a late display frame, little enough that an explosion is
  // heard with its flash.
  $kvAudio: {
    rate: 22050,
    ahead: 0.04,  // seconds of mixed sound queued after each display frame
    open: false,
    padTried: false,  // whether a pad's button has tried to start the sound
    context: null,
    queuedUntil: 0,
    // Browsers let a page make sound only after the player has pressed a key
    // or clicked; this runs on the first of those and on every later one.
    start: function () {
      if (!kvAudio.open) return;
      if (!kvAudio.context) {
        var AudioContext = window.AudioContext || window.webkitAudioContext;
        try {
          // At the mixer's own rate the output resamples once, as a whole.
          kvAudio.context = new AudioContext({sampleRate: kvAudio.rate, latencyHint: 'interactive'});
        } catch (e) {
          kvAudio.context = new AudioContext({latencyHint: 'interactive'});
        }
        kvAudio.queuedUntil = 0;
        kvAudio.context.onstatechange = function () {
          if (kvAudio.context && kvAudio.context.state === 'running') kvAudio.showNote(false);
        };
      }
      if (kvAudio.context.state === 'suspended' && !kvAudio.resting()) kvAudio.context.resume();
    },
    noteShown: false,
    showNote: function (shown) {
      if (shown === kvAudio.noteShown) return;
      kvAudio.noteShown = shown;
      if (Module['showSoundNote']) Module['showSoundNote'](shown);
    },
    // While play is paused or the page is hidden the output stops, so that
    // its thread idles too; it goes on where it stopped.
    paused: false,
    resting: function () {
      return kvAudio.paused || document.hidden;
    },
    settle: function () {
      var context = kvAudio.context;
      if (!context || context.state === 'closed') return;
      if (kvAudio.resting()) {
        if (context.state === 'running') context.suspend();
      } else if (context.state === 'suspended') {
        context.resume();
      }
    },
  },

  // Gamepads through the Gamepad API, looked at whenever the game reads its
  // controls, so that a pad plugged in at any time plays. Each pad goes to
  // platform/web/devices.cpp as it reads, three numbers a pad: the stick's
  // x and y from -32767 to 32767 and the buttons as the bits it names; the
  // dead zone is the desktop's own rule, applied there.
  $kvPads__deps: ['$kvAudio'],
  $kvPads: {
    // Buttons already down when a program starts (the Start that pressed
    // Play again) count only once they have been let go, so that the title
    // waits as it does after Return: one set of bits a pad.
    ignored: [],
    all: function () {
      var pads = [];
      try {
        if (navigator.getGamepads) pads = navigator.getGamepads();
      } catch (e) {
        // A page in a frame may be refused the pads; the keys still play.
      }
      var connected = [];
      for (var i = 0; i < pads.length; i++) {
        if (pads[i] && pads[i].connected) connected.push(pads[i]);
      }
      return connected;
    },
    read: function (readings, most) {
      var pads = kvPads.all();
      var count = 0;
      for (var i = 0; i < pads.length && count < most; i++) {
        var pad = pads[i];
        var at = (readings >> 2) + 3 * count;
        var stick = pad.axes.length > 1;
        var buttons = kvPads.buttons(pad);
        var ignored = (kvPads.ignored[count] || 0) & buttons;
        kvPads.ignored[count++] = ignored;
        HEAP32[at] = stick ? Math.round(pad.axes[0] * 32767) : 0;
        HEAP32[at + 1] = stick ? Math.round(pad.axes[1] * 32767) : 0;
        HEAP32[at + 2] = buttons & ~ignored;
      }
      return count;
    },
    ignoreHeld: function () {
      kvPads.ignored = kvPads.all().map(kvPads.buttons);
    },
    buttons: function (pad) {
      var buttons = pad.buttons;
      var pressed = function (index) { return index < buttons.length && buttons[index].pressed; };
      var held = 0;
      if (pressed(0)) held |= 16;
      // Only the standard layout says where the d-pad, X, Start and Back are.
      if (pad.mapping === 'standard') {
        if (pressed(14)) held |= 1;
        if (pressed(15)) held |= 2;
        if (pressed(12)) held |= 4;
        if (pressed(13)) held |= 8;
        if (pressed(2)) held |= 32;
        if (pressed(9)) held |= 64;
        if (pressed(8)) held |= 128;
        if (pressed(3)) held |= 512;  // Y: the screenshot
        if (pressed(5)) held |= 256;  // RB: the settings screen
      }
      return held;
    },
    // A pad's button turns the sound on where the browser lets it; where it
    // does not (most count only keys, clicks and taps as the player's say),
    // the page tells the player what does.
    startSound: function () {
      if (kvAudio.padTried || !kvAudio.open) return;
      kvAudio.padTried = true;
      kvAudio.start();
      setTimeout(function () {
        var context = kvAudio.context;
        if (kvAudio.open && (!context || context.state !== 'running') && !kvAudio.resting()) {
          kvAudio.showNote(true);
        }
      }, 500);
    },
  },

  // How the browser calls the loop. In play, at every display frame. On the
  // title and the end pictures, which change a few times a second, from a
  // timer set for the time the loop's next frame is due (`dueAt`, in
  // performance.now() milliseconds): a display frame costs the browser far
  // more than the pass it runs, and a call with nothing due costs a task.
  // While play is paused, ten times a second, as the desktop's paused loop
  // looks at its keys; anything the player does wakes it at once.
  kvPageRest__deps: ['$kvPage', '$Browser', 'emscripten_set_main_loop_timing'],
  kvPageRest: function (mode, dueAt) {
    if (mode === 2 /* a still screen */) {
      // The main loop's timer counts from the start of the call that set it.
      var wait = Math.max(0, Math.round(dueAt - (Browser.mainLoop.tickStartTime || 0)));
      if (mode === kvPage.mode && wait === kvPage.wait) return;
      kvPage.mode = mode;
      kvPage.wait = wait;
      _emscripten_set_main_loop_timing(0 /* EM_TIMING_SETTIMEOUT */, wait);
      return;
    }
    if (mode === kvPage.mode) return;
    kvPage.mode = mode;
    kvPage.wait = -1;
    if (mode === 1 /* paused */) {
      _emscripten_set_main_loop_timing(0 /* EM_TIMING_SETTIMEOUT */, 100);
    } else {
      _emscripten_set_main_loop_timing(1 /* EM_TIMING_RAF */, 1);
    }
  },

  $kvWake__deps: ['$kvPage', '$Browser', 'kvPageRest'],
  $kvWake: function () {
    if (kvPage.mode !== 1) return;
    _kvPageRest(0, 0);
    // The turn already waiting for its time is dropped for one at the next
    // display frame.
    Browser.mainLoop.pause();
    Browser.mainLoop.resume();
  },

  // A press or tap on the picture goes to the game as a point of its own
  // 640 x 480 picture (the canvas is the picture, whatever its CSS size),
  // besides anything the page makes of the tap.
  $kvPoint__deps: ['$kvPage'],
  $kvPoint: function (event) {
    var canvas = kvPage.canvas;
    if (!kvPage.context || !canvas) return;
    var box = canvas.getBoundingClientRect();
    if (box.width <= 0 || box.height <= 0) return;
    var x = Math.floor((event.clientX - box.left) * canvas.width / box.width);
    var y = Math.floor((event.clientY - box.top) * canvas.height / box.height);
    if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) return;
    _kvPagePointer(x, y);
  },

  kvPageStart__deps: ['$kvPage', '$kvAudio', '$kvWake', '$kvPoint', '$kvFiles'],
  kvPageStart: function () {
    var canvas = Module['canvas'];
    if (!canvas) return 0;
    kvPage.canvas = canvas;
    canvas.addEventListener('pointerdown', kvPoint);
    Module['takeFile'] = kvFiles.take;
    ['keydown', 'mousedown', 'pointerup', 'touchend'].forEach(function (type) {
      window.addEventListener(type, kvAudio.start, true);
    });
    document.addEventListener('visibilitychange', kvAudio.settle);
    ['keydown', 'keyup', 'pointerdown', 'pointerup', 'pointercancel'].forEach(function (type) {
      window.addEventListener(type, kvWake, true);
    });
    // What tests read: how loud the sound given to Web Audio was, and how far ahead it plays.
    Module['soundCheck'] = {
      peak: 0,
      samples: 0,
      state: function () { return kvAudio.context ? kvAudio.context.state : 'not started'; },
      // Seconds of mixed sound waiting to be played.
      queued: function () {
        var context = kvAudio.context;
        return context ? Math.max(0, kvAudio.queuedUntil - context.currentTime) : 0;
      },
    };
    return 1;
  },

  kvPageSetTitle: function (caption) {
    document.title = UTF8ToString(caption);
  },

  kvPageSetIcon: function (rgba, width, height) {
    var picture = document.createElement('canvas');
    picture.width = width;
    picture.height = height;
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    picture.getContext('2d').putImageData(new ImageData(pixels.slice(), width, height), 0, 0);
    var link = document.querySelector('link[rel="icon"]');
    if (!link) {
      link = document.createElement('link');
      link.rel = 'icon';
      document.head.appendChild(link);
    }
    link.href = picture.toDataURL('image/png');
  },

  kvPageShowCursor__deps: ['$kvPage'],
  kvPageShowCursor: function (visible) {
    if (kvPage.canvas) kvPage.canvas.style.cursor = visible ? '' : 'none';
  },

  kvPageWidth: function () {
    return window.innerWidth;
  },

  kvPageHeight: function () {
    return window.innerHeight;
  },

  kvPageNote: function (text) {
    Module['showNote'](UTF8ToString(text));
  },

  // The page has no files of the system's (its own are kept by
  // platform/web/files.cpp): whatever the C library asks about is missing,
  // as it is, rather than found empty.
  __syscall_open: function () { return -44; /* ENOENT */ },
  __syscall_stat64: function () { return -44; },
  __syscall_lstat64: function () { return -44; },
  __syscall_fstatat64: function () { return -44; },
  __syscall_getdents64: function () { return -44; },
  __syscall_unlink: function () { return -44; },
  __syscall_rmdir: function () { return -44; },

  // The page's own note line, for what the player should know while play
  // goes on (settings that cannot be kept, a replay that cannot be watched).
  kvPageSay: function (text) {
    Module['say'](UTF8ToString(text));
  },

  // The player's settings file, kept whole under one key of localStorage.
  // A browser may refuse the storage (private browsing, storage turned off:
  // reading or writing throws) or run out of it; the game then goes on with
  // the settings of this visit, and the page says so.
  $kvFiles__deps: ['malloc', 'free'],
  $kvFiles: {
    key: 'kordavan.settings',
    // A file the player dropped or picked, handed to the game under its
    // name once its bytes are read.
    take: function (file) {
      return file.arrayBuffer().then(function (buffer) {
        var bytes = new Uint8Array(buffer);
        var name = file.name || 'replay';
        var nameAt = _malloc(lengthBytesUTF8(name) + 1);
        var at = _malloc(Math.max(1, bytes.length));
        stringToUTF8(name, nameAt, lengthBytesUTF8(name) + 1);
        HEAPU8.set(bytes, at);
        _kvFilesDropped(nameAt, at, bytes.length);
        _free(at);
        _free(nameAt);
      });
    },
  },

  kvStoreRead__deps: ['$kvFiles', '$stringToNewUTF8'],
  kvStoreRead: function (failed) {
    try {
      var text = window.localStorage.getItem(kvFiles.key);
      return text === null ? 0 : stringToNewUTF8(text);
    } catch (e) {
      HEAP32[failed >> 2] = 1;
      return 0;
    }
  },

  kvStoreWrite__deps: ['$kvFiles'],
  kvStoreWrite: function (text) {
    try {
      window.localStorage.setItem(kvFiles.key, UTF8ToString(text));
      return 1;
    } catch (e) {
      return 0;
    }
  },

  // A file for the player to keep: a screenshot at once, a recording as a
  // link once it is finished.
  kvPageDownload: function (name, bytes, size, type) {
    Module['download'](new File([HEAPU8.slice(bytes, bytes + size)], UTF8ToString(name),
        {type: UTF8ToString(type)}));
  },

  kvPageOfferReplay: function (name, bytes, size) {
    Module['offerReplay'](new File([HEAPU8.slice(bytes, bytes + size)], UTF8ToString(name),
        {type: 'application/octet-stream'}));
  },

  kvPageOpenScreen__deps: ['$kvPage'],
  // The canvas holds the picture at its own size and the browser enlarges
  // it (CSS), which costs the page nothing per frame; with sharp pixels
  // asked for, the page's layout keeps them square and unsmoothed.
  kvPageOpenScreen: function (width, height, sharpPixels) {
    var canvas = kvPage.canvas;
    if (!canvas) return 0;
    canvas.width = width;
    canvas.height = height;
    canvas.dataset.sharpPixels = sharpPixels ? 'yes' : 'no';
    window.dispatchEvent(new Event('resize'));
    // Desynchronized: the canvas goes to the screen on its own, without a
    // round of the page's style, layout and paint for each new picture.
    kvPage.context = canvas.getContext('2d', {alpha: false, desynchronized: true});
    kvPage.picture = null;
    return kvPage.context ? 1 : 0;
  },

  kvPageCloseScreen__deps: ['$kvPage'],
  kvPageCloseScreen: function () {
    var context = kvPage.context;
    if (!context) return;
    context.fillStyle = '#000';
    context.fillRect(0, 0, kvPage.canvas.width, kvPage.canvas.height);
    kvPage.context = null;
  },

  kvPagePresent__deps: ['$kvPage'],
  // The whole picture's pixels, width x height, of which the canvas copies
  // the part that changed.
  kvPagePresent: function (rgba, width, height, left, top, partWidth, partHeight) {
    var context = kvPage.context;
    if (!context) return;
    var picture = kvPage.picture;
    if (!picture || picture.data.buffer !== HEAPU8.buffer || picture.data.byteOffset !== rgba ||
        picture.width !== width || picture.height !== height) {
      picture = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width, height);
      kvPage.picture = picture;
    }
    context.putImageData(picture, 0, 0, left, top, partWidth, partHeight);
    if (!kvPage.shownOnce) {
      kvPage.shownOnce = true;
      Module['hideNote']();
    }
  },

  // What the touch controls hold (index.html keeps them), as control bits.
  kvPageTouchControls: function () {
    var touch = Module['touchControls'];
    return touch ? touch.read() : 0;
  },

  kvPagePads__deps: ['$kvPads'],
  kvPagePads: function (readings, most) {
    return kvPads.read(readings, most);
  },

  // Whoever plays with a pad needs no buttons on the screen.
  kvPagePadPlayed__deps: ['$kvPads'],
  kvPagePadPlayed: function () {
    if (Module['hideTouchControls']) Module['hideTouchControls']();
    kvPads.startSound();
  },

  kvPageShowPaused: function (paused) {
    Module['showPaused'](!!paused);
  },

  kvPageOfferStart: function (offered) {
    Module['touchControls'].offerStart(!!offered);
  },

  kvPageStarting__deps: ['$kvPage', '$kvPads'],
  kvPageStarting: function () {
    kvPage.shownOnce = false;
    kvPads.ignoreHeld();
    Module['starting']();
  },

  kvPageEnded: function (withNote) {
    Module['ended'](!!withNote);
  },

  kvAudioRest__deps: ['$kvAudio'],
  kvAudioRest: function (resting) {
    kvAudio.paused = !!resting;
    kvAudio.settle();
  },

  kvAudioOpen__deps: ['$kvAudio'],
  kvAudioOpen: function () {
    if (!(window.AudioContext || window.webkitAudioContext)) return 0;
    kvAudio.open = true;
    kvAudio.padTried = false;
    return 1;
  },

  kvAudioClose__deps: ['$kvAudio'],
  kvAudioClose: function () {
    kvAudio.open = false;
    kvAudio.showNote(false);
    if (kvAudio.context) kvAudio.context.close();
    kvAudio.context = null;
  },

  // How many samples to mix now to keep the output fed until a little after
  // the next display frame; -1 while there is no running output.
  kvAudioWanted__deps: ['$kvAudio'],
  kvAudioWanted: function () {
    var context = kvAudio.context;
    if (!context || context.state !== 'running') return -1;
    var now = context.currentTime;
    // Ran dry (a stall, a hidden page): start again just ahead of the output.
    if (kvAudio.queuedUntil < now + 0.005) kvAudio.queuedUntil = now + 0.01;
    var wanted = Math.floor((now + kvAudio.ahead - kvAudio.queuedUntil) * kvAudio.rate);
    // Called more often than display frames on a still screen, it waits
    // for at least 10 ms of sound to send: each buffer costs a node.
    return wanted >= kvAudio.rate / 100 ? wanted : 0;
  },

  kvAudioQueue__deps: ['$kvAudio'],
  kvAudioQueue: function (samples, count) {
    var context = kvAudio.context;
    if (!context || count <= 0) return;
    var buffer = context.createBuffer(1, count, kvAudio.rate);
    var data = buffer.getChannelData(0);
    var first = samples >> 1;
    var peak = 0;
    for (var i = 0; i < count; i++) {
      var sample = HEAP16[first + i];
      data[i] = sample / 32768;
      if (sample > peak) peak = sample;
      else if (-sample > peak) peak = -sample;
    }
    var source = context.createBufferSource();
    source.buffer = buffer;
    source.connect(context.destination);
    source.start(kvAudio.queuedUntil);
    kvAudio.queuedUntil += count / kvAudio.rate;
    var check = Module['soundCheck'];
    if (peak > check.peak) check.peak = peak;
    check.samples += count;
  },
});
