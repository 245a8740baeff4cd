// Reads an exported glTF file with a glTF library of its own (not the writer)
// and checks it against the project it came from:
//   node check_export.mjs FILE.glb|FILE.gltf INFO.txt POSED_DIR
// INFO.txt is what `lwtool info PROJECT.ojp` prints (joints with their bone tree
// names and parents, keyframe times); POSED_DIR holds at_T.obj from `lwtool export PROJECT.ojp
// at_T.obj --time T` for every keyframe time T. Checked: node names (bone tree
// names, UTF-8), the hierarchy, the skin, the channel count and, at every
// keyframe time, the skinned positions against the posed OBJ within 1e-4 of the
// model's height.
import fs from 'node:fs';
import path from 'node:path';
import { NodeIO } from '@gltf-transform/core';

const [file, infoFile, posedDir] = process.argv.slice(2);
const failures = [];
const check = (ok, what) => { if (!ok) failures.push(what); };

// Joints (name, parent) and keyframe times from lwtool info.
const info = fs.readFileSync(infoFile, 'utf8').split('\n');
const joints = [], times = [];
for (const line of info) {
  let m = line.match(/^ {2}\d+ (\S+)(?: "([^"]*)")?(?: <- (\S+))?$/);
  if (m) joints.push({ name: m[1], shown: m[2] ?? m[1], parent: m[3] ?? null });
  m = line.match(/^ {2}(-?\d+) ms \(#/);
  if (m) times.push(Number(m[1]));
}

const doc = await new NodeIO().read(file);
const root = doc.getRoot();
const skins = root.listSkins();
check(skins.length === 1, `one skin (found ${skins.length})`);
const skin = skins[0];
const nodes = skin.listJoints();
check(nodes.length === joints.length, `${joints.length} skin joints (found ${nodes.length})`);
joints.forEach((j, i) => {
  const node = nodes[i];
  if (!node) return;
  check(node.getName() === j.shown, `joint ${i} named ${j.shown} (found ${node.getName()})`);
  const parent = node.getParentNode();
  const parentIndex = parent ? nodes.indexOf(parent) : -1;
  const expectedParent = j.parent === null ? -1 : joints.findIndex((k) => k.name === j.parent);
  check(parentIndex === expectedParent, `joint ${j.name} under joint ${expectedParent} (found ${parentIndex})`);
});
const ibm = skin.getInverseBindMatrices();
check(ibm && ibm.getCount() === joints.length, 'one inverse bind matrix per joint');
const meshNodes = root.listNodes().filter((n) => n.getMesh());
check(meshNodes.length === 1 && meshNodes[0].getSkin() === skin, 'one mesh node, skinned by the skin');

const animations = root.listAnimations();
const channels = animations.length ? animations[0].listChannels() : [];
if (times.length === 0) {
  check(animations.length === 0, `no animation without keyframes (found ${animations.length})`);
} else {
  check(animations.length === 1, `one animation (found ${animations.length})`);
  check(channels.length === joints.length + 1, `${joints.length + 1} channels (found ${channels.length})`);
  check(channels.every((c) => c.getSampler().getInterpolation() === 'LINEAR'), 'linear samplers');
  nodes.forEach((n, i) => check(channels.some((c) => c.getTargetNode() === n &&
    c.getTargetPath() === 'rotation'), `a rotation channel for joint ${i}`));
  check(channels.some((c) => c.getTargetNode() === nodes[0] && c.getTargetPath() === 'translation'),
    'a translation channel for the base joint');
}

// 4x4 column-major helpers.
const multiply = (a, b) => {
  const out = new Array(16).fill(0);
  for (let c = 0; c < 4; c++) for (let r = 0; r < 4; r++)
    for (let k = 0; k < 4; k++) out[4 * c + r] += a[4 * k + r] * b[4 * c + k];
  return out;
};
const transform = (m, p) => [0, 1, 2].map((r) => m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r]);

const primitives = meshNodes.length ? meshNodes[0].getMesh().listPrimitives() : [];
let low = Infinity, high = -Infinity;
for (const prim of primitives) {
  const positions = prim.getAttribute('POSITION');
  for (let i = 0; i < positions.getCount(); i++) {
    const y = positions.getElement(i, [])[1];
    low = Math.min(low, y); high = Math.max(high, y);
  }
}
const height = high - low;
let largest = 0;
for (const t of (failures.length ? [] : times)) {
  const seconds = (t - times[0]) / 1000;
  for (const c of channels) {
    const input = c.getSampler().getInput(), output = c.getSampler().getOutput();
    let index = -1;
    for (let i = 0; i < input.getCount(); i++) if (Math.abs(input.getScalar(i) - seconds) <= 1e-6) index = i;
    check(index >= 0, `a sample at ${t} ms`);
    if (index < 0) continue;
    const value = output.getElement(index, []);
    if (c.getTargetPath() === 'rotation') c.getTargetNode().setRotation(value);
    if (c.getTargetPath() === 'translation') c.getTargetNode().setTranslation(value);
  }
  const jointMatrices = nodes.map((n, i) => multiply(n.getWorldMatrix(), ibm.getElement(i, [])));
  const posed = fs.readFileSync(path.join(posedDir, `at_${t}.obj`), 'utf8').split('\n')
    .filter((l) => l.startsWith('v ')).map((l) => l.split(/\s+/).slice(1, 4).map(Number));
  let v = 0;
  for (const prim of primitives) {
    const positions = prim.getAttribute('POSITION');
    const sets = prim.listSemantics().filter((s) => s.startsWith('JOINTS_')).map((s) => s.slice(7));
    for (let i = 0; i < positions.getCount(); i++, v++) {
      const p = positions.getElement(i, []);
      const sum = [0, 0, 0];
      for (const s of sets) {
        const js = prim.getAttribute(`JOINTS_${s}`).getElement(i, []);
        const ws = prim.getAttribute(`WEIGHTS_${s}`).getElement(i, []);
        for (let k = 0; k < 4; k++) {
          if (ws[k] === 0) continue;
          const q = transform(jointMatrices[js[k]], p);
          for (let a = 0; a < 3; a++) sum[a] += ws[k] * q[a];
        }
      }
      const target = posed[v];
      if (!target) continue;
      largest = Math.max(largest, Math.hypot(sum[0] - target[0], sum[1] - target[1], sum[2] - target[2]) / height);
    }
  }
  check(v === posed.length, `${posed.length} posed vertices at ${t} ms (the glTF has ${v})`);
}
check(largest <= 1e-4, `skinned positions within 1e-4 of the height (largest difference ${largest})`);

if (failures.length) {
  for (const f of failures) console.error(`check_export: ${file}: expected ${f}`);
  process.exit(1);
}
console.log(`check_export: ${file}: ${joints.length} joints, ${channels.length} channels, ` +
  `${times.length} keyframe times, largest difference ${largest.toExponential(2)} of the height`);
