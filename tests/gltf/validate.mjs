// Runs the Khronos glTF validator on each file given; prints its summary and
// every message, and exits non-zero when any file has an error or a warning.
//   node validate.mjs FILE.glb|FILE.gltf ...
import fs from 'node:fs';
import path from 'node:path';
import validator from 'gltf-validator';

let bad = 0;
for (const file of process.argv.slice(2)) {
  const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
    uri: path.basename(file),
    externalResourceFunction: (uri) =>
      fs.promises.readFile(path.join(path.dirname(file), decodeURIComponent(uri))).then((d) => new Uint8Array(d)),
  });
  const i = report.issues;
  console.log(`validate: ${file}: ${i.numErrors} errors, ${i.numWarnings} warnings, ` +
    `${i.numInfos} infos, ${i.numHints} hints (validator ${report.validatorVersion})`);
  for (const m of i.messages) console.log(`  ${m.code} ${m.pointer ?? ''}: ${m.message}`);
  if (i.numErrors > 0 || i.numWarnings > 0) bad++;
}
process.exit(bad ? 1 : 0);
