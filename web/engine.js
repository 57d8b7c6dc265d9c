// The marking engine's side of the page: runs the desktop's marking session, built to
// WebAssembly, on an in-memory file system. It runs in a worker, so that the page stays
// responsive while a class is marked, and in the Node tests. The file system holds
//   /in/sources/af/<name>, /in/sources/en/<name>   the picked source documents
//   /in/<k>/<destination name>/<file name>         the tests (k keeps same-named files apart)
//   /p/                                            the program folder the session writes to
// The page has no folders of the teacher's computer, so every path the session writes or
// shows is given as destination name and file name alone: "/p/class-a/a01" reads
// "class-a/a01" and "/in/0/class-a/a01.rtf" reads "class-a/a01.rtf".
'use strict';

const shownPaths = text => text.replace(/(^|[ \t\r\n",;])\/(?:p|in\/\d+)(?:\/|(?=[\r\n",;]|$))/g, '$1');

// Bytes of a result file with its paths shown as above; other bytes stay as they are.
function shownFile(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 8192) text += String.fromCharCode(...bytes.subarray(i, i + 8192));
  return Uint8Array.from(shownPaths(text), c => c.charCodeAt(0));
}

function startEngine(tikmeter, post) {
  const fs = tikmeter.FS;
  const write = (path, bytes) => {
    fs.mkdirTree(path.slice(0, path.lastIndexOf('/')));
    fs.writeFile(path, bytes);
    return path;
  };
  const removeTree = path => {
    if (!fs.analyzePath(path).exists) return;
    if (!fs.isDir(fs.stat(path).mode)) return fs.unlink(path);
    fs.readdir(path)
      .filter(name => name !== '.' && name !== '..')
      .forEach(name => removeTree(`${path}/${name}`));
    fs.rmdir(path);
  };
  let folder = ''; // the destination folder of the last session
  // What the session wrote for the teacher: marked tests and result files, not the copies.
  const outputFiles = () =>
    Object.fromEntries(
      fs
        .readdir(folder)
        .filter(name => /\.(rug|res|csv)$/i.test(name))
        .map(name => {
          const bytes = fs.readFile(`${folder}/${name}`);
          return [name, /\.rug$/i.test(name) ? bytes : shownFile(bytes)];
        }),
    );
  const requests = {
    // One whole session: { afrikaans, english: {name, bytes} or null, tests: [{name, bytes}],
    // destination, integer }.
    mark({ afrikaans, english, tests, destination, integer }) {
      removeTree('/in');
      const source = (language, file) => (file ? write(`/in/sources/${language}/${file.name}`, file.bytes) : '');
      const copies = {};
      const entries = tests.map(({ name, bytes }) => {
        copies[name] = (copies[name] ?? -1) + 1;
        return write(`/in/${copies[name]}/${destination}/${name}`, bytes);
      });
      folder = `/p/${destination}`;
      const observer = {
        logLine: line => post({ type: 'log', line: shownPaths(line) }),
        progress: (done, total) => post({ type: 'progress', done, total }),
        message: (kind, text, title) => post({ type: 'message', kind, text: shownPaths(text), title }),
        testFinished: json => {
          const outcome = JSON.parse(json);
          for (const key of ['entry', 'status', 'marked', 'resultLine']) {
            if (outcome[key] !== null) outcome[key] = shownPaths(outcome[key]);
          }
          post({ type: 'test', outcome });
        },
      };
      let end = 'Failed';
      try {
        end = tikmeter.markTests(source('af', afrikaans), source('en', english), entries, integer, observer);
      } catch (error) {
        post({ type: 'message', kind: 'Error', text: `The marking engine failed: ${error}`, title: 'Error' });
      }
      post({ type: 'end', end, files: fs.analyzePath(folder).exists ? outputFiles() : {} });
    },
    // A marked test of the last session for the viewer: its text and runs of formatting.
    view({ name }) {
      post({ type: 'view', name, document: JSON.parse(tikmeter.documentView(`${folder}/${name}`)) });
    },
  };
  return request => requests[request.type](request);
}

// In Node: a module. In a worker: requests come as messages, and a first message says the
// engine is ready. In a page: the page starts it with startPageEngine.
if (typeof module === 'object') {
  module.exports = startEngine;
} else if (typeof WorkerGlobalScope === 'undefined') {
  self.startPageEngine = post => createTikmeter().then(tikmeter => startEngine(tikmeter, post));
} else {
  const engine = createTikmeter().then(tikmeter => startEngine(tikmeter, message => postMessage(message)));
  engine.then(() => postMessage({ type: 'ready' }));
  onmessage = ({ data }) => engine.then(handle => handle(data));
}
