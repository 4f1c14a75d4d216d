// Counts the cells of the Excel books (.xls and .xlsx) below FOLDER whose
// text holds NEEDLE, reading each book with SheetJS (npm package "xlsx",
// found through NODE_PATH).
//
//   node count_sheetjs.js FOLDER NEEDLE
'use strict';
const fs = require('fs');
const path = require('path');
const XLSX = require('xlsx');

function books(folder) {
  const found = [];
  for (const entry of fs.readdirSync(folder, { withFileTypes: true })) {
    const full = path.join(folder, entry.name);
    if (entry.isDirectory()) found.push(...books(full));
    else if (/\.xlsx?$/.test(entry.name)) found.push(full);
  }
  return found.sort();
}

const [folder, needle] = process.argv.slice(2);
let count = 0;
for (const file of books(folder)) {
  const book = XLSX.readFile(file);
  for (const name of book.SheetNames) {
    const sheet = book.Sheets[name];
    for (const address in sheet) {
      const cell = sheet[address];
      if (address[0] !== '!' && cell.t === 's' && cell.v.includes(needle)) ++count;
    }
  }
}
console.log(count);
