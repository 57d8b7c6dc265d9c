// The page's marking engine, the desktop's session built to WebAssembly, run in Node over
// the test data's corpus in both result settings: every key of every row of
// expected-marks.jsonl, and the log, the marked tests and the result file byte for byte as
// `tikmeter mark` writes them (paths as the page gives them: destination name/file name).
'use strict';
const { test } = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const path = require('path');
const { root, classOf, desktopMark, engineMark } = require('./support');

const data = path.join(root, 'tests/data');
const sources = {
  english: path.join(data, 'sources/en1-libreoffice.rtf'),
  afrikaans: path.join(data, 'sources/af1-libreoffice.rtf'),
};
const corpus = [...classOf(path.join(data, 'class-a')), ...classOf(path.join(data, 'edge'))];
const expected = fs
  .readFileSync(path.join(data, 'expected-marks.jsonl'), 'utf8')
  .trim()
  .split('\n')
  .map(line => JSON.parse(line));
const runKeys = ['path', 'setting', 'english', 'afrikaans'];
const sessions = [
  { title: 'corpus marked as multiple of 5', tests: corpus, setting: 'multiple of 5' },
  { title: 'corpus marked as integer', tests: corpus, setting: 'integer' },
  {
    title: 'a test that cannot be read is left out after the check',
    tests: [corpus[0], { name: 'broken.rtf', file: path.join(data, 'bad/random-binary.rtf') }],
    setting: 'integer',
  },
];

for (const { title, tests, setting } of sessions) {
  test(title, async () => {
    const session = { sources, tests, destination: 'class-a', integer: setting === 'integer' };
    const web = await engineMark(session);
    assert.strictEqual(web.end, 'Completed');
    assert.strictEqual(web.outcomes.length, tests.length);
    const rows = expected.filter(row => row.setting === setting && tests.some(t => t.file.endsWith(row.path)));
    for (const row of rows) {
      const outcome = web.outcomes.find(o => o.entry === `class-a/${path.basename(row.path)}`);
      for (const key of Object.keys(row).filter(key => !runKeys.includes(key))) {
        assert.deepStrictEqual(outcome[key], row[key], `${row.path}: ${key}`);
      }
    }
    const desktop = desktopMark(session);
    assert.deepStrictEqual([web.log, web.errors], [desktop.log, desktop.errors]);
    assert.deepStrictEqual(Object.keys(web.files).sort(), Object.keys(desktop.files).sort());
    for (const [name, bytes] of Object.entries(desktop.files)) assert.ok(web.files[name] === bytes, `${name} differs`);
  });
}
// Two students' files of the same name from different folders: the second is copied and
// marked under a free name, as the desktop does for a class from two folders.
test('same-named tests', async () => {
  const [a01, a02] = classOf(path.join(data, 'class-a'), ['a01.rtf', 'a02.rtf']);
  const web = await engineMark({
    sources,
    tests: [a01, { ...a02, name: 'a01.rtf' }],
    destination: 'Class A',
    integer: false,
  });
  assert.deepStrictEqual(
    web.outcomes.map(o => [o.entry, o.marked, o.language]),
    [
      ['Class A/a01.rtf', 'Class A/a01.rug', 'English'],
      ['Class A/a01.rtf', 'Class A/a01 (2).rug', 'Afrikaans'],
    ],
  );
  assert.deepStrictEqual(Object.keys(web.files).sort(), ['Resultaat.csv', 'Resultaat.res', 'a01 (2).rug', 'a01.rug']);
});
