// What every browser test shares: one printed line per check, a pause, and
// the closing "N passed, N failed" with the exit status it stands for (1 when
// any check failed, or none ran).

'use strict';

let passed = 0;
let failed = 0;

function check(name, ok, detail) {
  if (ok) passed++;
  else failed++;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${detail ? ` (${detail})` : ''}`);
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Runs the test's main; an exception is one more failed check, named after
// the test. The promise settles once the summary is out.
function runChecks(name, main) {
  return main().catch((error) => {
    check(`the ${name} test ran to its end`, false, error.stack || String(error));
  }).finally(() => {
    console.log(`${passed} passed, ${failed} failed`);
    process.exitCode = failed === 0 && passed > 0 ? 0 : 1;
  });
}

module.exports = {check, sleep, runChecks};
