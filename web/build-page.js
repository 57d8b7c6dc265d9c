// Builds the one-file page: page.html with page.css, the zip library and page.js inlined,
// and the marking engine (the WebAssembly module's JavaScript, which carries the
// WebAssembly itself, followed by engine.js) as the text the page starts its worker from.
// Usage: node build-page.js tikmeter-core.js fflate/umd/index.js edu-tikmeter.html
'use strict';
const fs = require('fs');
const path = require('path');

const [core, fflate, out] = process.argv.slice(2);
const read = file => fs.readFileSync(path.resolve(__dirname, file), 'utf8');
// An inline script ends at the first "</script"; "<!--" would change how it is parsed.
const inline = (file, text = read(file)) => {
  if (/<\/script|<!--/i.test(text)) throw new Error(`${file} cannot be inlined: it holds </script or <!--`);
  return text;
};
// The zip library is MIT-licensed: its notice goes with it.
const fflateFolder = path.resolve(path.dirname(fflate), '..');
const fflateNotice = `/*! fflate ${JSON.parse(read(`${fflateFolder}/package.json`)).version}\n${read(`${fflateFolder}/LICENSE`)}*/\n`;
const parts = {
  '/*STYLE*/': read('page.css'),
  '/*ENGINE*/': inline(core) + inline('engine.js'),
  '/*SCRIPT*/': fflateNotice + inline(fflate) + inline('page.js'),
};
const page = read('page.html').replace(/\/\*(STYLE|ENGINE|SCRIPT)\*\//g, marker => parts[marker]);
fs.writeFileSync(`${out}.tmp`, page);
fs.renameSync(`${out}.tmp`, out);
