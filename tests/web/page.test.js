// The one-file page in Debian's Chromium (puppeteer-core), used as a teacher uses it: the
// sources and the tests set on the page's inputs, Mark pressed, the log and the table read,
// a marked test opened, everything downloaded as one zip. Log, table, viewer and zip are
// compared with what `tikmeter mark` gives for the same tests. The page after marking the
// example class is saved as web-page.png in TIKMETER_SCREENSHOT_DIR when that is set; the
// time to mark a class of 40 is reported.
'use strict';
const { test, after } = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const path = require('path');
const puppeteer = require('puppeteer-core');
const { unzipSync } = require('fflate');
const { root, webBuild, tempFolder, classOf, fileText, desktopMark } = require('./support');

const pageFile = path.join(webBuild, 'edu-tikmeter.html');
const examples = path.join(root, 'examples');
const sources = {
  english: path.join(examples, 'sources/english.rtf'),
  afrikaans: path.join(examples, 'sources/afrikaans.rtf'),
};
const work = tempFolder('page');
after(() => fs.rmSync(work, { recursive: true, force: true }));

// The class of 40: the 24 examples and 16 of them again under other names.
const class40 = path.join(work, 'class-40');
fs.mkdirSync(class40);
classOf(path.join(examples, 'class-a')).forEach(({ name, file }, i) => {
  fs.copyFileSync(file, path.join(class40, name));
  if (i < 16) fs.copyFileSync(file, path.join(class40, name.replace('a', 'b')));
});

const exampleClass = { folder: path.join(examples, 'class-a'), destination: 'class-a' };
const scenarios = [
  { title: 'example class from a folder', ...exampleClass, integer: false, screenshot: true },
  { title: 'class of 40 as files', folder: class40, destination: 'Class 40', typed: true, integer: true },
  { title: 'example class without workers', ...exampleClass, integer: true, noWorker: true },
];
const chromiumFlags =
  '--headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking ' +
  '--disable-component-update --disable-sync';
// Chromium gives a download its name when it is complete.
const waitForFile = async file => {
  for (let waited = 0; !fs.existsSync(file) && waited < 30000; waited += 100)
    await new Promise(done => setTimeout(done, 100));
  return fs.existsSync(file);
};

for (const [index, scenario] of scenarios.entries()) {
  test(scenario.title, async t => {
    assert.ok(fs.statSync(pageFile).size <= 1.5e6, 'the page is one file of at most 1.5 MB');
    const browser = await puppeteer.launch({
      executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
      ignoreDefaultArgs: true,
      args: [...chromiumFlags.split(' '), `--user-data-dir=${fs.mkdtempSync(path.join(work, 'profile-'))}`],
    });
    t.after(() => browser.close());
    const page = await browser.newPage();
    const requests = [];
    page.on('request', request => requests.push(request.url()));
    const downloads = path.join(work, `downloads-${index}`);
    const cdp = await page.createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    await page.setViewport({ width: 1280, height: 900 });
    if (scenario.noWorker) await page.evaluateOnNewDocument(() => delete window.Worker);
    await page.goto(`file://${pageFile}`);

    const tests = classOf(scenario.folder);
    const upload = async (id, ...files) => (await page.$(id)).uploadFile(...files);
    await upload('#afrikaans', sources.afrikaans);
    await upload('#english', sources.english);
    if (scenario.typed) {
      await upload('#test-files', ...tests.map(({ file }) => file));
      await page.click('#destination', { clickCount: 3 });
      await page.type('#destination', scenario.destination);
    } else await upload('#test-folder', scenario.folder);
    if (scenario.integer) await page.click('input[value=integer]');
    const started = Date.now();
    await page.click('#mark');
    await page.waitForFunction(() => !document.getElementById('mark').disabled, { timeout: 120000 });
    t.diagnostic(`${scenario.title}: ${tests.length} tests marked in ${Date.now() - started} ms`);
    // The engine ran in the page only where the browser had no workers.
    assert.strictEqual(await page.evaluate(() => typeof startPageEngine === 'function'), Boolean(scenario.noWorker));

    const session = { sources, tests, destination: scenario.destination, integer: scenario.integer };
    const desktop = desktopMark(session);
    const { outcomes } = desktopMark({ ...session, json: true });
    // The log, then the end message's two lines.
    const shown = await Promise.all(['#log', '#message'].map(id => page.$eval(id, element => element.textContent)));
    assert.strictEqual(
      shown.join(''),
      `${desktop.log.slice(0, -2).join('\n')}\nDone: ${desktop.log.slice(-2).join('\n')}\n`,
    );

    const table = async () =>
      page.$$eval('#results tr', rows => rows.map(row => [...row.cells].map(cell => cell.textContent)));
    const [heads, ...rows] = await table();
    const shownColumns = 'File,Language,Keystrokes,Gross words,Word errors,Errors,Net words,WPM,Final result,Status';
    assert.deepStrictEqual(
      rows.map(row => shownColumns.split(',').map(title => row[heads.indexOf(title)])),
      outcomes.map(o => [
        o.entry,
        o.language,
        ...[o.keystrokeCount, o.grossWords, o.wordErrors, o.errorCount, o.netWords].map(String),
        o.finalResult.toFixed(1),
        o.finalResultText.trim(),
        o.status,
      ]),
    );
    // Sorting by a number column sorts by number, and a second click reverses it.
    const keystrokes = heads.indexOf('Keystrokes');
    for (const direction of [1, -1]) {
      await page.click(`#results th:nth-child(${keystrokes + 1})`);
      const sorted = (await table()).slice(1).map(row => Number(row[keystrokes]));
      assert.deepStrictEqual(
        sorted,
        [...sorted].sort((a, b) => direction * (a - b)),
      );
    }

    await page.click('#download');
    const zip = path.join(downloads, `${scenario.destination}.zip`);
    assert.ok(await waitForFile(zip), `${zip} not downloaded`);
    const zipped = unzipSync(fs.readFileSync(zip));
    assert.deepStrictEqual(
      Object.fromEntries(Object.entries(zipped).map(([name, bytes]) => [name, fileText(bytes)])),
      Object.fromEntries(
        Object.entries(desktop.files).map(([name, text]) => [`${scenario.destination}/${name}`, text]),
      ),
    );

    // The viewer shows the marked test's runs: error marks white on red and bold, repeat
    // marks red and underlined, nothing else of the test marked; the report bold red
    // Courier on white, its excess-word list white on red (its line end included).
    const viewed = outcomes.find(outcome => outcome.repeatMarks.length && outcome.excessWords.length);
    await page.evaluate(
      entry => [...document.querySelectorAll('#results tr')].find(row => row.cells[1].textContent === entry).click(),
      viewed.entry,
    );
    await page.waitForSelector('#viewer:not([hidden]) #document span');
    const spans = await page.$$eval('#document span', elements =>
      elements.map(element => {
        const style = getComputedStyle(element);
        const colour = value =>
          ({ 'rgb(255, 0, 0)': 'red', 'rgb(255, 255, 255)': 'white', 'rgb(0, 0, 0)': 'black' })[value] ?? 'none';
        const flags = [
          style.fontWeight === '700' && 'bold',
          style.textDecorationLine === 'underline' && 'underlined',
          /^"?Courier\b/.test(style.fontFamily) && 'Courier',
        ];
        return {
          text: element.textContent,
          style: [`${colour(style.color)} on ${colour(style.backgroundColor)}`, ...flags.filter(Boolean)].join(' '),
        };
      }),
    );
    // The document's text has CR LF where the page shows LF; a paragraph end is formatted as one.
    const text = spans.map(span => span.text.replaceAll('\n', '\r\n')).join('');
    const styles = spans.flatMap(span =>
      span.text.split('').flatMap(c => (c === '\n' ? [span.style, span.style] : [span.style])),
    );
    const report = text.length - viewed.reportText.length;
    const excessStart = text.indexOf('Excess words: ', report) + 14;
    const excess = [excessStart, text.indexOf('\r', excessStart) + 1];
    const inMarks = (marks, at) =>
      marks.some(([mark, position]) => {
        const offset = at - (text[at] === '\n') - position + 1;
        return offset >= 0 && offset < mark.replace(/ $/, '').length;
      });
    assert.strictEqual(text.slice(report), viewed.reportText);
    assert.deepStrictEqual(
      styles,
      styles.map((style, at) => {
        const [error, repeat] = [inMarks(viewed.errorMarks, at), inMarks(viewed.repeatMarks, at)];
        if (at >= excess[0] && at <= excess[1]) return 'white on red Courier';
        if (at >= report) return 'red on white bold Courier';
        if (repeat) return error ? 'red on red bold underlined' : 'red on none underlined';
        return error ? 'white on red bold' : 'black on none';
      }),
    );

    assert.deepStrictEqual(
      requests.filter(url => !/^(file|blob|data):/.test(url)),
      [],
      'no network request',
    );
    const shots = process.env.TIKMETER_SCREENSHOT_DIR;
    if (scenario.screenshot && shots) await page.screenshot({ path: path.join(shots, 'web-page.png'), fullPage: true });
  });
}
