// The anchor: the zone patterns as JavaScript RegExp ("gim", "." without s) over the pages
// bench_patterns wrote. Each case runs in its own child process, capped at 10 s.
//   node anchor.js PAGES_DIR OUT.json [REPETITIONS]
//   node anchor.js --case PAGES_DIR CASE_ID REPETITIONS   (the child)
'use strict';
const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');

const kCapMs = 10000;

function runCase(dir, id, repetitions) {
  const patterns = JSON.parse(fs.readFileSync(path.join(dir, 'patterns.json'), 'utf8'));
  const subject = fs.readFileSync(path.join(dir, id + '.html'), 'utf8');
  const source = patterns[id.split('-')[0]];
  const times = [];
  let found = [];
  for (let r = 0; r < repetitions; ++r) {
    const start = process.hrtime.bigint();
    const regex = new RegExp(source, 'gim');
    const matches = [];
    for (const m of subject.matchAll(regex)) matches.push(m.slice(1).map((s) => s ?? ''));
    times.push(Number(process.hrtime.bigint() - start) / 1e6);
    found = matches;
    // Partial results survive the cap.
    process.stdout.write(JSON.stringify({ ms: times[times.length - 1] }) + '\n');
  }
  process.stdout.write(JSON.stringify({ matches: found }) + '\n');
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const mid = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
}

function same(a, b) {
  return JSON.stringify(a) === JSON.stringify(b);
}

function main(argv) {
  if (argv[0] === '--case') return runCase(argv[1], argv[2], Number(argv[3]));
  const [dir, out, reps = '5'] = argv;
  const lumetra = JSON.parse(fs.readFileSync(path.join(dir, 'lumetra-matches.json'), 'utf8'));
  const results = {};
  for (const id of Object.keys(lumetra)) {
    const child = spawnSync(process.execPath, [__filename, '--case', dir, id, reps], {
      timeout: kCapMs, killSignal: 'SIGKILL', maxBuffer: 1 << 30, encoding: 'utf8',
    });
    const lines = (child.stdout || '').split('\n').filter(Boolean).map((l) => JSON.parse(l));
    const times = lines.filter((l) => 'ms' in l).map((l) => l.ms);
    const done = lines.find((l) => 'matches' in l);
    const entry = { capped: !done, runs: times.length };
    if (times.length) entry.median_ms = median(times);
    if (done) {
      entry.matches = done.matches.length;
      entry.same = same(done.matches, lumetra[id]);
      if (!entry.same) {
        const i = done.matches.findIndex((m, k) => !same(m, lumetra[id][k]));
        entry.first_difference = { index: i, anchor: done.matches[i], lumetra: lumetra[id][i] };
      }
    }
    results[id] = entry;
    process.stderr.write(`${id}: ${entry.capped ? '> 10 s' : entry.median_ms.toFixed(3) + ' ms'}\n`);
  }
  fs.writeFileSync(out, JSON.stringify(results, null, 1));
}

main(process.argv.slice(2));
