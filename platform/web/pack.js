// Packs the game's WebAssembly file for the page: most of it is the pictures
// and sounds, which a plain static host would send as they are. Each sound's
// bytes are written as the change from the byte before (the generated waves
// are smooth, and their changes compress far better than their levels), a
// header says where those sounds lie, and the whole is gzip-compressed with
// zopfli, whose gzip any browser reads and which sends about 7% less than
// the best of zlib (a first visit from a host that does not compress has to
// stay within 1.6 MB). The page unpacks it with the browser's DecompressionStream and puts the sounds
// back as the bytes arrive (index.html, restoring()).
//
//   node pack.js GAME.wasm ASSET_DIR OUT.pack.gz [--quick]
//
// --quick packs with zlib's fastest level instead, for pages only the tests
// load, where the build's time counts and the bytes do not.
//
// The header: "KVPK", the number of ranges (32 bits, little-endian), then for
// each its start and length in the game's file; the game's file follows.

'use strict';

const fs = require('fs');
const path = require('path');
const os = require('os');
const {spawnSync} = require('child_process');
const zlib = require('zlib');

function main([wasmFile, assetDir, outFile, how]) {
  if (!outFile || (how !== undefined && how !== '--quick')) {
    console.error('usage: node pack.js GAME.wasm ASSET_DIR OUT.pack.gz [--quick]');
    return 1;
  }
  const wasm = fs.readFileSync(wasmFile);
  const ranges = [];
  for (const name of fs.readdirSync(assetDir).filter((file) => file.endsWith('.wav')).sort()) {
    const sound = fs.readFileSync(path.join(assetDir, name));
    const start = wasm.indexOf(sound);
    // A sound the game does not embed (an unused file) is simply not there.
    if (start >= 0 && sound.length > 0) ranges.push([start, sound.length]);
  }
  ranges.sort((a, b) => a[0] - b[0]);
  const kept = ranges.filter((range, i) => i === 0 || range[0] >= ranges[i - 1][0] + ranges[i - 1][1]);

  const packed = Buffer.from(wasm);
  for (const [start, length] of kept) {
    let previous = 0;
    for (let i = start; i < start + length; i++) {
      packed[i] = (wasm[i] - previous) & 255;
      previous = wasm[i];
    }
  }
  const header = Buffer.alloc(8 + 8 * kept.length);
  header.write('KVPK', 0, 'latin1');
  header.writeUInt32LE(kept.length, 4);
  kept.forEach(([start, length], i) => {
    header.writeUInt32LE(start, 8 + 8 * i);
    header.writeUInt32LE(length, 12 + 8 * i);
  });
  const whole = Buffer.concat([header, packed]);
  const gzipped = how === '--quick' ? zlib.gzipSync(whole, {level: 1}) : zopfli(whole);
  if (gzipped === null) return 1;
  fs.writeFileSync(outFile + '.part', gzipped);
  fs.renameSync(outFile + '.part', outFile);
  return 0;
}

// One iteration: more take minutes for a gain of a few hundred bytes.
function zopfli(bytes) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'kordavan-pack-'));
  try {
    const raw = path.join(folder, 'kordavan.pack');
    fs.writeFileSync(raw, bytes);
    const run = spawnSync('zopfli', ['--i1', '-c', raw], {maxBuffer: 2 * bytes.length + 1024});
    if (run.error || run.status !== 0) {
      console.error('pack.js: zopfli failed (the Debian package zopfli): ' +
                    (run.error ? run.error.message : run.stderr.toString().trim()));
      return null;
    }
    return run.stdout;
  } finally {
    fs.rmSync(folder, {recursive: true, force: true});
  }
}

process.exitCode = main(process.argv.slice(2));
