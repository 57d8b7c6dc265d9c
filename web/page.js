// The page of Edu Tikmeter: takes the source documents and the tests, hands them to the
// marking engine (engine.js, in a worker) and shows what the session reports: log lines,
// progress, messages, a table of results and the marked tests. "Download all" zips what
// the session wrote; "Print" prints the table or a marked test through the browser.
'use strict';

const $ = id => document.getElementById(id);
const picked = { afrikaans: null, english: null, tests: [] };
let session = { destination: '', outcomes: [], files: {} };
let sorting = { column: -1, direction: 1 };

const fileName = path => path.slice(path.lastIndexOf('/') + 1);
const pad = number => String(number).padStart(2, '0');
const timeText = t =>
  `${t.getFullYear()}-${pad(t.getMonth() + 1)}-${pad(t.getDate())} ${pad(t.getHours())}:${pad(t.getMinutes())}`;

// The results table: the columns of the desktop's Resultaat.csv. A test that was too short
// or too long has no marks, so only its name, file, status and time show.
const columns = [
  ['Student', o => fileName(o.entry).replace(/\.[^.]*$/, '')],
  ['File', o => o.entry],
  ['Language', o => o.language],
  ['Keystrokes', o => o.keystrokeCount],
  ['Gross words', o => o.grossWords],
  ['Word errors', o => o.wordErrors],
  ['Penalties', o => o.penalties?.length],
  ['Errors', o => o.errorCount],
  ['Net words', o => o.netWords],
  ['WPM', o => o.finalResult?.toFixed(1)],
  ['Final result', o => o.finalResultText?.trim()],
  ['Accuracy %', o => o.language && Math.min(100, Math.max(0, (100 * o.netWords) / o.grossWords || 0)).toFixed(1)],
  ['Status', o => o.status],
  ['Marked at', o => o.markedAt],
];
const isNumber = value => value !== '' && value !== null && value !== undefined && !isNaN(value);

function showTable() {
  const heads = columns.map(([title], index) => {
    const th = document.createElement('th');
    th.textContent = title;
    if (index === sorting.column) th.setAttribute('aria-sort', sorting.direction > 0 ? 'ascending' : 'descending');
    th.onclick = () => {
      sorting = { column: index, direction: index === sorting.column ? -sorting.direction : 1 };
      showTable();
    };
    return th;
  });
  $('results').tHead.rows[0].replaceChildren(...heads);
  const rows = session.outcomes.map(outcome => ({ outcome, cells: columns.map(([, value]) => value(outcome) ?? '') }));
  if (sorting.column >= 0) {
    const key = row => row.cells[sorting.column];
    rows.sort((a, b) => {
      const [x, y] = [key(a), key(b)];
      return sorting.direction * (isNumber(x) && isNumber(y) ? x - y : String(x).localeCompare(String(y)));
    });
  }
  $('results').tBodies[0].replaceChildren(
    ...rows.map(({ outcome, cells }) => {
      const tr = document.createElement('tr');
      for (const cell of cells) {
        const td = tr.insertCell();
        td.textContent = cell;
        td.className = isNumber(cell) ? 'number' : '';
      }
      if (outcome.marked) {
        tr.className = 'marked';
        tr.tabIndex = 0;
        tr.title = 'Show the marked test';
        tr.onclick = tr.onkeydown = event => {
          if (event.type === 'click' || event.key === 'Enter')
            worker.postMessage({ type: 'view', name: fileName(outcome.marked) });
        };
      }
      return tr;
    }),
  );
}

// A marked test as the desktop's viewer shows it: its text in runs of the saved formatting.
function showDocument({ name, document: marked }) {
  $('viewer').hidden = false;
  $('viewer-title').textContent = `${session.destination}/${name}`;
  const view = $('document');
  if (marked.error) return view.replaceChildren(marked.error);
  view.replaceChildren(
    ...marked.runs.map(([start, length, color, back, font, halfPoints, bold, italic, underline]) => {
      const span = document.createElement('span');
      span.textContent = marked.text.substr(start, length).replaceAll('\r', '');
      Object.assign(span.style, {
        color: color ?? '',
        backgroundColor: back ?? '',
        fontFamily: `"${font}", ${/courier|mono/i.test(font) ? 'monospace' : 'serif'}`,
        fontSize: halfPoints ? `${halfPoints / 2}pt` : '',
        fontWeight: bold ? 'bold' : '',
        fontStyle: italic ? 'italic' : '',
        textDecoration: underline ? 'underline' : '',
      });
      return span;
    }),
  );
  $('viewer').scrollIntoView();
}

let engineReady = false;
const events = {
  ready: () => (engineReady = true),
  log: ({ line }) => ($('log').textContent += `${line}\n`),
  progress: ({ done, total }) => Object.assign($('progress'), { max: total || 1, value: done }),
  message: ({ kind, text, title }) => {
    // The check before marking is answered Yes: the tests that can be read are marked.
    const answer = kind === 'Question' ? ' Yes' : '';
    $('message').textContent += `${title}: ${text.replaceAll('\r', '\n').trim()}${answer}\n`;
    $('message').classList.toggle('error', kind === 'Error');
  },
  test: ({ outcome }) => {
    session.outcomes.push({ ...outcome, markedAt: timeText(new Date()) });
    showTable();
  },
  end: ({ files }) => {
    session.files = files;
    $('download').disabled = Object.keys(files).length === 0;
    $('print-table').disabled = session.outcomes.length === 0;
    $('mark').disabled = false;
  },
  view: showDocument,
};

// The engine runs in a worker started from the page's own text, so that the page stays
// responsive while it marks. A browser that will not start a worker for a page opened
// from disk gets the engine in the page itself (the page then waits while it marks).
const engineUrl = URL.createObjectURL(new Blob([$('engine').textContent], { type: 'text/javascript' }));
const engineInPage = () => {
  const script = Object.assign(document.createElement('script'), { src: engineUrl });
  const started = new Promise(
    resolve => (script.onload = () => resolve(startPageEngine(data => events[data.type](data)))),
  );
  document.head.append(script);
  return { postMessage: request => started.then(handle => handle(request)) };
};
let worker;
try {
  worker = new Worker(engineUrl);
  worker.onmessage = ({ data }) => events[data.type](data);
  worker.onerror = error => {
    if (!engineReady) worker = engineInPage();
    else events.message({ kind: 'Error', title: 'Error', text: error.message || 'The marking engine failed.' });
  };
} catch {
  worker = engineInPage();
}

const destinationName = () => {
  const name = $('destination').value.trim().replace(/[/\\]/g, '-').replace(/^\.+$/, '') || 'New Folder';
  return ($('destination').value = name);
};
const readFile = async file => file && { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) };

$('mark').onclick = async () => {
  $('mark').disabled = true;
  session = { destination: destinationName(), outcomes: [], files: {} };
  for (const id of ['log', 'message']) $(id).textContent = '';
  $('viewer').hidden = true;
  showTable();
  try {
    worker.postMessage({
      type: 'mark',
      afrikaans: await readFile(picked.afrikaans),
      english: await readFile(picked.english),
      tests: await Promise.all(picked.tests.map(readFile)),
      destination: session.destination,
      integer: document.querySelector('input[name=result]:checked').value === 'integer',
    });
  } catch (error) {
    events.message({ kind: 'Error', title: 'Error', text: `A file could not be read: ${error.message}` });
    $('mark').disabled = false;
  }
};

// Only .rtf files are tests; a folder's tests come in name order and the folder's name
// becomes the destination name, as when the desktop's tests are dragged from a folder.
function addTests(files, folder) {
  const tests = files.filter(file => /\.rtf$/i.test(file.name));
  if (folder) {
    tests.sort((a, b) => (a.name < b.name ? -1 : 1));
    $('destination').value = folder;
  }
  picked.tests.push(...tests);
  $('test-list').replaceChildren(
    ...picked.tests.map(file => Object.assign(document.createElement('li'), { textContent: file.name })),
  );
}

function setSource(language, file) {
  picked[language] = file ?? null;
  $(`${language}-name`).value = file ? file.name : '';
}

// Dropped files, and the files of dropped folders with the first folder's name.
async function dropped(transfer) {
  const entries = [...transfer.items].map(item => item.webkitGetAsEntry?.()).filter(Boolean);
  const folder = entries.find(entry => entry.isDirectory);
  if (!folder) return { files: [...transfer.files] };
  const batch = reader => new Promise((resolve, reject) => reader.readEntries(resolve, reject));
  const walk = async entry => {
    if (entry.isFile) return [await new Promise((resolve, reject) => entry.file(resolve, reject))];
    const reader = entry.createReader();
    const children = [];
    for (let more; (more = await batch(reader)).length;) children.push(...more);
    return (await Promise.all(children.map(walk))).flat();
  };
  return { files: (await Promise.all(entries.map(walk))).flat(), folder: folder.name };
}

// A file input is emptied after each choice, so that choosing the same again counts too.
const chosen =
  take =>
  ({ target }) => {
    take([...target.files]);
    target.value = '';
  };
for (const language of ['afrikaans', 'english']) $(language).onchange = chosen(([file]) => setSource(language, file));
$('test-files').onchange = chosen(files => addTests(files));
$('test-folder').onchange = chosen(files => addTests(files, files[0]?.webkitRelativePath.split('/')[0]));
$('clear-tests').onclick = () => {
  picked.tests = [];
  addTests([]);
};
for (const zone of document.querySelectorAll('.drop')) {
  zone.ondragover = event => {
    event.preventDefault();
    zone.classList.add('over');
  };
  zone.ondragleave = () => zone.classList.remove('over');
  zone.ondrop = async event => {
    event.preventDefault();
    event.stopPropagation();
    zone.classList.remove('over');
    const { files, folder } = await dropped(event.dataTransfer);
    if (zone.id === 'green-box') addTests(files, folder);
    else
      setSource(
        zone.dataset.language,
        files.find(file => /\.rtf$/i.test(file.name)),
      );
  };
}
// A file dropped beside the drop zones is not opened in place of the page.
window.ondragover = window.ondrop = event => event.preventDefault();

$('download').onclick = () => {
  const entries = Object.entries(session.files).map(([name, bytes]) => [`${session.destination}/${name}`, bytes]);
  const zip = fflate.zipSync(Object.fromEntries(entries));
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([zip], { type: 'application/zip' }));
  link.download = `${session.destination}.zip`;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
};
const printPart = part => () => {
  document.body.classList.add(part);
  print();
};
window.onafterprint = () => document.body.classList.remove('print-table', 'print-test');
$('print-table').onclick = printPart('print-table');
$('print-test').onclick = printPart('print-test');
$('close-viewer').onclick = () => ($('viewer').hidden = true);
showTable();
