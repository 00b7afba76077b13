// The page's loader: fetches the packed game, counts its bytes for the bar,
// unpacks it on the way to WebAssembly's compiler and tells a failure in
// plain words. Not a script of its own: the build writes it into the page's
// script in index.html (cmake/web.cmake), whose bar and fail() it uses, so
// that the page stays one file to download.

function problem(text, canRetry) {
  var error = new Error(text);
  error.forPlayer = text;
  error.retry = !!canRetry;
  return error;
}
function connectionLost() {
  return problem('The connection was lost while Kordavan was downloading. Check the connection ' +
      'to the internet, then try again.', true);
}

// The game's file as a stream of the bytes that arrive, counted for the
// bar; the length is known unless the host compresses. What arrives is
// handed on 16 KB at a time, each piece in a task of its own: unpacked and
// compiled in one go, a download that came in quickly would hold the page
// for half a second on a slow phone.
function counted(response, name, lost) {
  var total = response.headers.get('Content-Encoding') ? 0 :
      Number(response.headers.get('Content-Length')) || 0;
  if (!total) progress.removeAttribute('value');
  var received = 0;
  var reader = response.body.getReader();
  var part = new Uint8Array(0);
  var at = 0;
  function handOn(controller) {
    var piece = part.subarray(at, at + 16384);
    at += piece.length;
    received += piece.length;
    if (total) progress.value = Math.min(100, received * 100 / total);
    controller.enqueue(piece);
    return new Promise(function (resolve) { setTimeout(resolve, 0); });
  }
  return new ReadableStream({
    pull: function (controller) {
      if (at < part.length) return handOn(controller);
      return reader.read().then(function (next) {
        if (next.done) {
          if (total && received < total) throw connectionLost();
          progress.value = 100;
          controller.close();
          return undefined;
        }
        part = next.value;
        at = 0;
        return handOn(controller);
      }).catch(function (error) {
        var broken = error && error.forPlayer ? error : connectionLost();
        lost(broken);
        controller.error(broken);
      });
    },
  });
}

// The pictures and sounds make most of the game's file, and a plain
// host sends it as it is: so it is kept gzip-compressed, and the
// browser's own DecompressionStream unpacks it on the way to the
// compiler. Before compression each sound's samples were written as the
// change from the one before (a smooth wave compresses far better so);
// the file begins with where those sounds lie, and the bytes are put
// back as they arrive. A host that sends it decompressed already (a
// Content-Encoding of its own) is recognised by the first bytes.
var damaged = 'Kordavan could not start: kordavan.pack.gz on this site is damaged. Reload the ' +
    'page, or tell the site\u2019s owner if it happens again.';
function restoring(remember) {
  var head = null;     // the header's bytes until the whole header is in
  var ranges = null;   // [start, end) of each sound in the game's file, in order
  var position = 0;    // in the game's file
  var next = 0;        // the first range not yet passed
  var previous = 0;
  function restore(bytes, controller) {
    var from = position;
    var to = position + bytes.length;
    while (next < ranges.length && ranges[next][0] < to) {
      var start = ranges[next][0];
      var end = ranges[next][1];
      if (from <= start) previous = 0;
      for (var i = Math.max(start, from); i < Math.min(end, to); i++) {
        previous = (bytes[i - from] + previous) & 255;
        bytes[i - from] = previous;
      }
      if (end > to) break;
      next++;
    }
    position = to;
    controller.enqueue(bytes);
  }
  return new TransformStream({
    transform: function (chunk, controller) {
      if (ranges) return restore(new Uint8Array(chunk), controller);
      head = head ? concat(head, chunk) : new Uint8Array(chunk);
      if (head.length < 8) return;
      var view = new DataView(head.buffer, head.byteOffset, head.byteLength);
      var count = view.getUint32(4, true);
      if (view.getUint32(0, false) !== 0x4b56504b /* KVPK */ || count > 4096) {
        var error = problem(damaged);
        remember(error);
        throw error;
      }
      if (head.length < 8 + 8 * count) return;
      ranges = [];
      for (var i = 0; i < count; i++) {
        var start = view.getUint32(8 + 8 * i, true);
        ranges.push([start, start + view.getUint32(12 + 8 * i, true)]);
      }
      var rest = head.subarray(8 + 8 * count);
      head = null;
      if (rest.length) restore(rest, controller);
    },
  });
}
function unpacked(stream, remember) {
  var reader = stream.getReader();
  return reader.read().then(function (part) {
    var first = part.done ? new Uint8Array(0) : part.value;
    var whole = new ReadableStream({
      start: function (controller) {
        if (first.length) controller.enqueue(first);
        if (part.done) controller.close();
      },
      pull: function (controller) {
        return reader.read().then(function (more) {
          if (more.done) controller.close();
          else controller.enqueue(more.value);
        }, function (error) { controller.error(error); });
      },
    });
    var compressed = first.length >= 2 && first[0] === 0x1f && first[1] === 0x8b;
    if (compressed) whole = whole.pipeThrough(new DecompressionStream('gzip'));
    return whole.pipeThrough(restoring(remember));
  });
}
function concat(a, b) {
  var joined = new Uint8Array(a.length + b.length);
  joined.set(a);
  joined.set(b, a.length);
  return joined;
}

// The file, by this build's name for it (index.html), as a response
// WebAssembly compiles while it arrives.
function download(name, lost) {
  return fetch(address(name), {credentials: 'same-origin'}).catch(function () {
    throw problem('Kordavan could not download ' + name + '. Check the connection to the ' +
        'internet, then try again.', true);
  }).then(function (response) {
    if (response.status === 404) {
      throw problem('Kordavan could not be loaded: ' + name + ' is missing from this site. ' +
          'Reload the page to try again, or tell the site\u2019s owner.');
    }
    if (!response.ok) {
      throw problem('Kordavan could not be loaded: the site answered "' + response.status + ' ' +
          response.statusText + '" for ' + name + '. Reload the page to try again, or tell the ' +
          'site\u2019s owner.');
    }
    return unpacked(counted(response, name, lost), lost);
  }).then(function (stream) {
    return new Response(stream, {headers: {'Content-Type': 'application/wasm'}});
  });
}

// The game is built for WebAssembly with its 128-bit vectors and bulk
// memory, and comes compressed; a browser without them is told so before
// anything is fetched.
// Each module is the smallest that uses one of them.
function browserPlays() {
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.validate !== 'function' ||
      typeof WebAssembly.instantiateStreaming !== 'function' || typeof TransformStream !== 'function' ||
      typeof DecompressionStream !== 'function') {
    return false;
  }
  var vectors = [0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 10, 1, 8, 0,
    65, 0, 253, 15, 253, 98, 11];
  var bulkMemory = [0, 97, 115, 109, 1, 0, 0, 0, 1, 4, 1, 96, 0, 0, 3, 2, 1, 0, 5, 3, 1, 0, 1, 10,
    14, 1, 12, 0, 65, 0, 65, 0, 65, 0, 252, 10, 0, 0, 11];
  try {
    return WebAssembly.validate(new Uint8Array(vectors)) && WebAssembly.validate(new Uint8Array(bulkMemory));
  } catch (e) {
    return false;
  }
}
