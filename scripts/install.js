'use strict';

// npm install of the package: uses the prebuilt addon shipped in
// prebuilds/<platform>-<arch>/ when there is one and it loads on this
// machine, so no compiler is needed; otherwise builds the addon from source
// with cmake-js (the addon only, no test suites). FORMULA_BUILD_FROM_SOURCE=1
// forces the build. A git clone has no prebuilds/: it always builds.

const { spawnSync } = require('child_process');
const fs = require('fs');
const path = require('path');

const root = path.join(__dirname, '..');
const prebuilt = path.join(root, 'prebuilds', `${process.platform}-${process.arch}`, 'addon.node');

function prebuiltLoads() {
  if (process.env.FORMULA_BUILD_FROM_SOURCE || !fs.existsSync(prebuilt)) return false;
  const probe = spawnSync(process.execPath, ['-e', `require(${JSON.stringify(prebuilt)}).functionTable()`], { stdio: 'ignore' });
  return probe.status === 0;
}

if (prebuiltLoads()) {
  process.stdout.write(`formula-engine: using the prebuilt addon for ${process.platform}-${process.arch}\n`);
} else {
  const cmakeJs = require.resolve('cmake-js/bin/cmake-js', { paths: [root] });
  const build = spawnSync(process.execPath, [cmakeJs, 'compile'], { cwd: root, stdio: 'inherit' });
  process.exitCode = build.status === null ? 1 : build.status;
}
