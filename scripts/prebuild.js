'use strict';

// npm pack: puts the addon built in build/Release/ into
// prebuilds/<platform>-<arch>/ so the tarball carries it (prepack), and
// removes that folder again afterwards (postpack, with --clean), so a
// working copy never loads a stale prebuilt binary.

const { spawnSync } = require('child_process');
const fs = require('fs');
const path = require('path');

const root = path.join(__dirname, '..');
const target = path.join(root, 'prebuilds');

if (process.argv.includes('--clean')) {
  fs.rmSync(target, { recursive: true, force: true });
} else {
  const built = path.join(root, 'build', 'Release', 'addon.node');
  if (!fs.existsSync(built)) {
    const cmakeJs = require.resolve('cmake-js/bin/cmake-js', { paths: [root] });
    const build = spawnSync(process.execPath, [cmakeJs, 'compile'], { cwd: root, stdio: 'inherit' });
    if (build.status !== 0) process.exit(build.status ?? 1);
  }
  const dir = path.join(target, `${process.platform}-${process.arch}`);
  fs.mkdirSync(dir, { recursive: true });
  fs.copyFileSync(built, path.join(dir, 'addon.node'));
}
