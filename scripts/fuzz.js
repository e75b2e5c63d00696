'use strict';

// npm run fuzz [-- --seconds N]: builds the libFuzzer target with clang
// under AddressSanitizer and UndefinedBehaviorSanitizer (in build-fuzz/),
// writes the seed corpus, replays the saved findings in fuzz/regressions/
// and fuzzes Compile + Run for N seconds (default 600; CI runs 60).
// Exits non-zero on a finding; the input that caused it is left in
// build-fuzz/artifacts/ and belongs in fuzz/regressions/ once fixed.

const { spawnSync } = require('child_process');
const fs = require('fs');
const path = require('path');

const root = path.join(__dirname, '..');
const build = path.join(root, 'build-fuzz');

function argument(name, fallback) {
  const at = process.argv.indexOf(name);
  return at >= 0 && process.argv[at + 1] !== undefined ? process.argv[at + 1] : fallback;
}

function run(command, args, options = {}) {
  process.stdout.write(`\n$ ${command} ${args.join(' ')}\n`);
  const result = spawnSync(command, args, { cwd: root, stdio: 'inherit', ...options });
  if (result.error) throw result.error;
  return result.status;
}

function must(command, args, options) {
  const status = run(command, args, options);
  if (status !== 0) {
    process.stderr.write(`${command} failed with status ${status}\n`);
    process.exit(status || 1);
  }
}

function findClang() {
  for (const name of ['clang++-14', 'clang++']) {
    if (spawnSync(name, ['--version'], { stdio: 'ignore' }).status === 0) return name;
  }
  process.stderr.write('fuzz: clang++ not found (Debian: apt-get install clang-14 libclang-rt-14-dev)\n');
  process.exit(2);
}

// Formulas quoted in the tests: texts in quotes that end with a semicolon.
function formulasOfTests() {
  const found = new Set();
  const visit = (dir) => {
    for (const entry of fs.readdirSync(dir, { withFileTypes: true })) {
      const file = path.join(dir, entry.name);
      if (entry.isDirectory()) visit(file);
      else if (/\.(js|cpp|h)$/.test(entry.name)) {
        const text = fs.readFileSync(file, 'utf8');
        for (const match of text.matchAll(/(['"`])((?:(?!\1)[^\\\n]|\\.){2,400}?;)\1/g)) {
          if (/[A-Z]/.test(match[2])) found.add(match[2].replace(/\\n/g, '\n').replace(/\\(['"])/g, '$1'));
        }
      }
    }
  };
  visit(path.join(root, 'test'));
  return [...found];
}

function writeSeeds(seeds) {
  fs.rmSync(seeds, { recursive: true, force: true });
  fs.mkdirSync(seeds, { recursive: true });
  must(path.join(build, 'make_seeds'), [seeds]);
  const header = Buffer.from([60, 0xa0, 0x05, 7]);
  const write = (name, formula) => fs.writeFileSync(path.join(seeds, name), Buffer.concat([header, Buffer.from(formula)]));
  const examples = path.join(root, 'examples', 'formulas');
  for (const name of fs.readdirSync(examples)) write(`example-${name}`, fs.readFileSync(path.join(examples, name)));
  formulasOfTests().forEach((formula, i) => write(`test-${i}`, formula));
  process.stdout.write(`seeds: ${fs.readdirSync(seeds).length} files in ${seeds}\n`);
}

function main() {
  const seconds = Number(argument('--seconds', '600'));
  const clang = findClang();
  must('cmake', ['-S', '.', '-B', build, '-DFORMULA_FUZZ=ON', '-DFORMULA_BUILD_TESTS=OFF',
    `-DCMAKE_CXX_COMPILER=${clang}`, '-DCMAKE_BUILD_TYPE=RelWithDebInfo']);
  must('cmake', ['--build', build, '-j2', '--target', 'formula_fuzzer', 'make_seeds']);

  const fuzzer = path.join(build, 'formula_fuzzer');
  const env = { ...process.env, ASAN_OPTIONS: 'detect_leaks=1:allocator_may_return_null=1', UBSAN_OPTIONS: 'print_stacktrace=1' };
  const common = ['-max_len=4096', '-timeout=20', '-rss_limit_mb=4096', '-malloc_limit_mb=2048'];

  const regressions = path.join(root, 'fuzz', 'regressions');
  const saved = fs.existsSync(regressions) ? fs.readdirSync(regressions).map((f) => path.join(regressions, f)) : [];
  if (saved.length) must(fuzzer, [...common, ...saved], { env });

  const seeds = path.join(build, 'seeds');
  const corpus = path.join(build, 'corpus');
  const artifacts = path.join(build, 'artifacts');
  writeSeeds(seeds);
  fs.mkdirSync(corpus, { recursive: true });
  fs.mkdirSync(artifacts, { recursive: true });
  must(fuzzer, [...common, `-max_total_time=${seconds}`, '-print_final_stats=1',
    `-artifact_prefix=${artifacts}/`, corpus, seeds], { env });
}

main();
