// What the web tests share: the desktop's `tikmeter mark` run on the same tests, for the
// outputs the page must match, and the marking engine of the page run in Node.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');

const root = path.resolve(__dirname, '../..');
const webBuild = path.resolve(root, process.env.TIKMETER_WEB_BUILD || 'build-web');
const tikmeter = path.resolve(root, process.env.TIKMETER || 'build/bin/tikmeter');
const tempFolder = name => fs.mkdtempSync(path.join(os.tmpdir(), `tikmeter-web-${name}-`));

// A class for a session: each test's name in the session and the file it is read from.
const classOf = (
  folder,
  names = fs
    .readdirSync(folder)
    .filter(name => name.endsWith('.rtf'))
    .sort(),
) => names.map(name => ({ name, file: path.join(folder, name) }));

// Text with every occurrence of the given folders (followed by "/") taken out.
const withoutFolders = (text, folders) => folders.reduce((result, folder) => result.split(`${folder}/`).join(''), text);
// An output file as text to compare: one character per byte, the given folders taken out,
// and the times of marking (a CSV row's) masked, since two runs may fall in two minutes.
const fileText = (bytes, folders = []) =>
  withoutFolders(Buffer.from(bytes).toString('latin1'), folders).replace(/\b\d{4}-\d\d-\d\d \d\d:\d\d\b/g, '<time>');

// One `tikmeter mark` session over `tests` put into a folder named `destination`, in a
// program folder of its own: its log (standard output) and the marked tests and result
// files, with the folders of the tests and of the program taken out as the page does.
// Its standard error too (the check's question). With `json` the outcomes (`tikmeter
// mark --json`) instead.
function desktopMark({ sources, tests, destination, integer, json = false }) {
  const work = tempFolder('desktop');
  const [input, home] = [path.join(work, 'in'), path.join(work, 'home')];
  fs.mkdirSync(path.join(input, destination), { recursive: true });
  const entries = tests.map(({ name, file }) => {
    const entry = path.join(input, destination, name);
    fs.copyFileSync(file, entry);
    return entry;
  });
  const options = [...(integer ? ['--integer'] : []), ...(json ? ['--json'] : [])];
  const run = spawnSync(
    tikmeter,
    ['mark', '--english', sources.english, '--afrikaans', sources.afrikaans, ...options, ...entries],
    { env: { ...process.env, EDU_TIKMETER_HOME: home }, encoding: 'utf8' },
  );
  const folders = [input, home];
  const folder = path.join(home, destination);
  const files = Object.fromEntries(
    fs
      .readdirSync(folder)
      .filter(name => /\.(rug|res|csv)$/i.test(name))
      .map(name => [name, fileText(fs.readFileSync(path.join(folder, name)), folders)]),
  );
  fs.rmSync(work, { recursive: true, force: true });
  const lines = withoutFolders(run.stdout, folders).split('\n').slice(0, -1);
  const errors = withoutFolders(run.stderr, folders);
  return json ? { outcomes: lines.map(line => JSON.parse(line)) } : { log: lines, files, errors };
}

// The same session through the page's engine (engine.js on the WebAssembly module), in a
// fresh module: the events it posts, gathered by kind, and its output files as text.
async function engineMark({ sources, tests, destination, integer }) {
  const createTikmeter = require(path.join(webBuild, 'web/tikmeter-core.js'));
  const startEngine = require(path.join(root, 'web/engine.js'));
  const posted = { log: [], message: [], test: [], end: [] };
  const handle = startEngine(await createTikmeter(), message => posted[message.type]?.push(message));
  const read = file => ({ name: path.basename(file), bytes: fs.readFileSync(file) });
  handle({
    type: 'mark',
    afrikaans: read(sources.afrikaans),
    english: read(sources.english),
    tests: tests.map(({ name, file }) => ({ ...read(file), name })),
    destination,
    integer,
  });
  const [{ end, files }] = posted.end;
  const [questions, done] = ['Question', 'Done'].map(kind => posted.message.filter(m => m.kind === kind));
  return {
    end,
    // The log lines, then the end message's lines, as `tikmeter mark` prints them; the
    // questions as it prints them with their answer.
    log: [...posted.log.map(m => m.line), ...done.flatMap(m => m.text.split('\r').slice(0, -1))],
    errors: questions.map(m => `${m.title}: ${m.text.replaceAll('\r', '\n')}\nYes\n`).join(''),
    outcomes: posted.test.map(m => m.outcome),
    files: Object.fromEntries(Object.entries(files).map(([name, bytes]) => [name, fileText(bytes)])),
  };
}

module.exports = { root, webBuild, tempFolder, classOf, fileText, desktopMark, engineMark };
