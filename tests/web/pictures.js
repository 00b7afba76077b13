// Pictures for the browser test: PNG screenshots and the generator's BMP files
// read into plain RGB arrays, and the ways the test compares them.

'use strict';

const fs = require('fs');
const zlib = require('zlib');

// An RGB picture: width, height and 3 bytes a pixel, rows top to bottom.
function picture(width, height) {
  return {width, height, rgb: Buffer.alloc(width * height * 3)};
}

function paeth(left, up, upLeft) {
  const estimate = left + up - upLeft;
  const toLeft = Math.abs(estimate - left);
  const toUp = Math.abs(estimate - up);
  const toUpLeft = Math.abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return left;
  return toUp <= toUpLeft ? up : upLeft;
}

// The PNG files a browser's screenshot gives: 8-bit RGB or RGBA, not interlaced.
function readPng(bytes) {
  bytes = Buffer.from(bytes);
  let at = 8;
  let width = 0;
  let height = 0;
  let channels = 0;
  const data = [];
  while (at < bytes.length) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      const colourType = body[9];
      if (body[8] !== 8 || (colourType !== 2 && colourType !== 6) || body[12] !== 0) {
        throw new Error('a PNG this test does not read');
      }
      channels = colourType === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    for (let x = 0; x < stride; x++) {
      const value = raw[y * (stride + 1) + 1 + x];
      const left = x >= channels ? rows[y * stride + x - channels] : 0;
      const up = y > 0 ? rows[(y - 1) * stride + x] : 0;
      const upLeft = x >= channels && y > 0 ? rows[(y - 1) * stride + x - channels] : 0;
      const predicted = [0, left, up, (left + up) >> 1, paeth(left, up, upLeft)][filter];
      rows[y * stride + x] = (value + predicted) & 0xff;
    }
  }
  const result = picture(width, height);
  for (let i = 0; i < width * height; i++) {
    result.rgb[i * 3] = rows[i * channels];
    result.rgb[i * 3 + 1] = rows[i * channels + 1];
    result.rgb[i * 3 + 2] = rows[i * channels + 2];
  }
  return result;
}

// The generator's pictures: 24-bit bottom-up BMP files, shown as the game
// shows them, through the display's 16-bit RGB565.
function readGameBmp(path) {
  const bytes = fs.readFileSync(path);
  const offset = bytes.readUInt32LE(10);
  const width = bytes.readInt32LE(18);
  const height = bytes.readInt32LE(22);
  if (bytes.readUInt16LE(28) !== 24 || height <= 0) throw new Error(path + ': not a 24-bit bottom-up BMP');
  const stride = Math.ceil(width * 3 / 4) * 4;
  const widen = (value, bits) => (value << (8 - bits)) | (value >> (2 * bits - 8));
  const result = picture(width, height);
  for (let y = 0; y < height; y++) {
    const row = offset + (height - 1 - y) * stride;
    for (let x = 0; x < width; x++) {
      const to = (y * width + x) * 3;
      result.rgb[to] = widen(bytes[row + x * 3 + 2] >> 3, 5);
      result.rgb[to + 1] = widen(bytes[row + x * 3 + 1] >> 2, 6);
      result.rgb[to + 2] = widen(bytes[row + x * 3] >> 3, 5);
    }
  }
  return result;
}

function inside(x, y, rect) {
  return x >= rect.x && x < rect.x + rect.width && y >= rect.y && y < rect.y + rect.height;
}

// How far `shot` is from `reference` laid at (left, top) over the pixels
// `counts(x, y)` allows (in the reference's own coordinates): the mean
// difference of a channel, and the share of pixels off by more than
// `tolerance` in any channel.
function compare(shot, reference, {counts = () => true, left = 0, top = 0, tolerance = 8} = {}) {
  let pixels = 0;
  let off = 0;
  let total = 0;
  for (let y = 0; y < reference.height && y + top < shot.height; y++) {
    for (let x = 0; x < reference.width && x + left < shot.width; x++) {
      if (!counts(x, y)) continue;
      const a = ((y + top) * shot.width + x + left) * 3;
      const b = (y * reference.width + x) * 3;
      let worst = 0;
      for (let c = 0; c < 3; c++) {
        const difference = Math.abs(shot.rgb[a + c] - reference.rgb[b + c]);
        total += difference;
        worst = Math.max(worst, difference);
      }
      pixels++;
      if (worst > tolerance) off++;
    }
  }
  return {pixels, mean: total / (pixels * 3), offShare: off / pixels};
}

// Whether a pixel of a picture is its transparent pure green.
function isKey(picture, x, y) {
  const at = (y * picture.width + x) * 3;
  return picture.rgb[at] === 0 && picture.rgb[at + 1] === 255 && picture.rgb[at + 2] === 0;
}

// The mean difference between the rows [top, bottom) of `after` and those of
// `before` moved `shift` pixels to the right, over the columns both show.
function shiftedDifference(before, after, shift, top, bottom) {
  let total = 0;
  let count = 0;
  for (let y = top; y < bottom; y++) {
    for (let x = shift; x < after.width; x++) {
      const a = (y * after.width + x) * 3;
      const b = (y * before.width + x - shift) * 3;
      for (let c = 0; c < 3; c++) total += Math.abs(after.rgb[a + c] - before.rgb[b + c]);
      count += 3;
    }
  }
  return total / count;
}

// How far the landscape in rows [top, bottom) moved to the right from
// `before` to `after`: the shift that fits best, and how well.
function landscapeShift(before, after, top, bottom, largest) {
  let best = {shift: 0, difference: shiftedDifference(before, after, 0, top, bottom)};
  const still = best.difference;
  for (let shift = 1; shift <= largest; shift++) {
    const difference = shiftedDifference(before, after, shift, top, bottom);
    if (difference < best.difference) best = {shift, difference};
  }
  return {...best, still};
}

module.exports = {readPng, readGameBmp, compare, inside, isKey, landscapeShift};
