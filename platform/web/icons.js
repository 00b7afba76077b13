// Writes the installed game's icons: the window icon (a 24-bit BMP, pure
// green where it is transparent) enlarged pixel for pixel to PNG files.
//
//   node icons.js ICON.bmp OUT-FOLDER SIZE...

'use strict';

const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const [iconFile, outDir, ...sizes] = process.argv.slice(2);

function readBmp(bytes) {
  const offset = bytes.readUInt32LE(10);
  const width = bytes.readInt32LE(18);
  const rawHeight = bytes.readInt32LE(22);
  const height = Math.abs(rawHeight);
  if (bytes.readUInt16LE(28) !== 24 || bytes.readUInt32LE(30) !== 0 || width <= 0 || height === 0) {
    throw new Error(`${iconFile}: not an uncompressed 24-bit BMP`);
  }
  const stride = Math.ceil(width * 3 / 4) * 4;
  if (offset + stride * height > bytes.length) throw new Error(`${iconFile}: cut short`);
  const rgba = Buffer.alloc(width * height * 4);
  for (let y = 0; y < height; y++) {
    const row = offset + stride * (rawHeight > 0 ? height - 1 - y : y);
    for (let x = 0; x < width; x++) {
      const [b, g, r] = bytes.subarray(row + x * 3, row + x * 3 + 3);
      // The game sees its pictures as RGB565; pure green there is clear.
      const clear = (r >> 3) === 0 && (g >> 2) === 63 && (b >> 3) === 0;
      rgba.set(clear ? [0, 0, 0, 0] : [r, g, b, 255], (y * width + x) * 4);
    }
  }
  return {width, height, rgba};
}

const crcTable = Array.from({length: 256}, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xEDB88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

function crc32(bytes) {
  let c = 0xFFFFFFFF;
  for (const byte of bytes) c = crcTable[(c ^ byte) & 0xFF] ^ (c >>> 8);
  return (c ^ 0xFFFFFFFF) >>> 0;
}

function chunk(type, body) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(body.length, 0);
  head.write(type, 4, 'latin1');
  const tail = Buffer.alloc(4);
  tail.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), body])), 0);
  return Buffer.concat([head, body, tail]);
}

function png(icon, size) {
  const rows = Buffer.alloc((size * 4 + 1) * size);
  for (let y = 0; y < size; y++) {
    const from = Math.floor(y * icon.height / size) * icon.width;
    for (let x = 0; x < size; x++) {
      const pixel = (from + Math.floor(x * icon.width / size)) * 4;
      icon.rgba.copy(rows, y * (size * 4 + 1) + 1 + x * 4, pixel, pixel + 4);
    }
  }
  const header = Buffer.alloc(13);
  header.writeUInt32BE(size, 0);
  header.writeUInt32BE(size, 4);
  header.set([8, 6, 0, 0, 0], 8);  // 8-bit RGBA, not interlaced
  return Buffer.concat([Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]), chunk('IHDR', header),
    chunk('IDAT', zlib.deflateSync(rows, {level: 9})), chunk('IEND', Buffer.alloc(0))]);
}

const icon = readBmp(fs.readFileSync(iconFile));
for (const size of sizes) {
  fs.writeFileSync(path.join(outDir, `icon-${size}.png`), png(icon, Number(size)));
}
