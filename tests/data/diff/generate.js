#!/usr/bin/env node
// Writes cases.txt: input pairs and the segments that the reference implementation, the npm
// package diff-match-patch, gives for them. The C++ tests replay the file, so they need no
// node. Run from a folder where the package is installed:
//
//   npm install diff-match-patch@1.0.5      (in a scratch folder)
//   NODE_PATH=<scratch>/node_modules node tests/data/diff/generate.js > tests/data/diff/cases.txt
//
// File format, one record per case:
//   case <group>/<name> [deadline <n>]
//   a <text 1>
//   b <text 2>
//   d <segments>
// Texts are escaped: \\ \n \r \t, \uXXXX for any other unit outside printable ASCII, and
// \#<from>,<to>; for the lines "<from>\n" up to "<to - 1>\n". Segments are "=n" (equal),
// "-n" (delete) and "+n" (insert) with their length in UTF-16 units; their texts follow
// from the inputs. Without "deadline" the deadline never passes; with it the clock returns
// 1, 2, 3, ... on successive readings and the deadline is <n>, so it passes at reading n + 1.

'use strict';

const DiffMatchPatch = require('diff-match-patch');
const version = require('diff-match-patch/package.json').version;
if (version !== '1.0.5') {
    throw new Error(`expected diff-match-patch 1.0.5, found ${version}`);
}
const dmp = new DiffMatchPatch();

// --- Deterministic random numbers (mulberry32) -------------------------------------------

let seed = 0x4b3c2d1e;
function random() {
    seed = (seed + 0x6d2b79f5) | 0;
    let t = seed;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
}
const below = (n) => Math.floor(random() * n);
const pick = (items) => items[below(items.length)];
const chance = (p) => random() < p;

// --- Escaping -----------------------------------------------------------------------------

function escape(text) {
    let out = '';
    for (let i = 0; i < text.length; i++) {
        const c = text.charCodeAt(i);
        if (c === 0x5c) out += '\\\\';
        else if (c === 0x0a) out += '\\n';
        else if (c === 0x0d) out += '\\r';
        else if (c === 0x09) out += '\\t';
        else if (c >= 0x20 && c <= 0x7e) out += text[i];
        else out += '\\u' + c.toString(16).toUpperCase().padStart(4, '0');
    }
    return out;
}

function unescape(escaped) {
    let out = '';
    for (let i = 0; i < escaped.length; i++) {
        if (escaped[i] !== '\\') {
            out += escaped[i];
            continue;
        }
        const kind = escaped[++i];
        if (kind === 'n') out += '\n';
        else if (kind === 'r') out += '\r';
        else if (kind === 't') out += '\t';
        else if (kind === '\\') out += '\\';
        else if (kind === 'u') {
            out += String.fromCharCode(parseInt(escaped.substr(i + 1, 4), 16));
            i += 4;
        } else if (kind === '#') {
            const end = escaped.indexOf(';', i);
            const [from, to] = escaped.substring(i + 1, end).split(',').map(Number);
            const lines = [];
            for (let n = from; n < to; n++) lines.push(n + '\n');
            out += lines.join('');
            i = end;
        } else throw new Error('bad escape in ' + escaped);
    }
    return out;
}

// --- Running the reference ---------------------------------------------------------------

const cases = [];
const names = new Set();

// `deadline` undefined: never passes. A number n: the clock counts its readings.
function add(name, a, b, deadline) {
    const text1 = typeof a === 'string' ? a : unescape(a.escaped);
    const text2 = typeof b === 'string' ? b : unescape(b.escaped);
    if (names.has(name)) throw new Error('duplicate case ' + name);
    names.add(name);
    let diffs;
    if (deadline === undefined) {
        diffs = dmp.diff_main(text1, text2, true, Number.MAX_VALUE);
    } else {
        const RealDate = global.Date;
        let readings = 0;
        global.Date = class {
            getTime() { return ++readings; }
        };
        try {
            diffs = dmp.diff_main(text1, text2, true, deadline);
        } finally {
            global.Date = RealDate;
        }
    }
    if (dmp.diff_text1(diffs) !== text1 || dmp.diff_text2(diffs) !== text2) {
        throw new Error('reference lost text in ' + name);
    }
    const ops = diffs.map(([op, text]) => (op === 0 ? '=' : op < 0 ? '-' : '+') + text.length);
    cases.push([
        'case ' + name + (deadline === undefined ? '' : ' deadline ' + deadline),
        'a ' + (typeof a === 'string' ? escape(a) : a.escaped),
        'b ' + (typeof b === 'string' ? escape(b) : b.escaped),
        'd' + (ops.length ? ' ' + ops.join(' ') : ''),
    ].join('\n'));
}

// --- Text makers -------------------------------------------------------------------------

function randomString(alphabet, length) {
    let s = '';
    for (let i = 0; i < length; i++) s += pick(alphabet);
    return s;
}

const words = ('the a of to and in is it that for on with as was at by be this from or ' +
    'table field index key view query form report macro module select insert update ' +
    'delete where order group having join left right inner outer null not primary ' +
    'foreign unique check default text long short double currency date memo yes no')
    .split(' ');

function prose(length) {
    let s = '';
    while (s.length < length) {
        s += pick(words);
        s += chance(0.08) ? pick(['. ', ', ', '.\n', '\n', '\n\n', '; ', ' - ']) : ' ';
    }
    return s.substring(0, length);
}

// Random edits: replace, delete or insert short spans, drawing new text from `source`.
function edit(text, edits, source) {
    for (let i = 0; i < edits; i++) {
        const at = below(text.length + 1);
        const cut = chance(0.3) ? 0 : below(Math.min(12, text.length - at) + 1);
        const add = chance(0.3) ? '' : source(1 + below(10));
        text = text.substring(0, at) + add + text.substring(at + cut);
    }
    return text;
}

// Line texts that read like the comparer's own: SQL, exported VBA, indented XML.
const identifiers = ['Customers', 'Orders', 'OrderDate', 'Amount', 'ID', 'Name', 'Price',
    'Quantity', 'Notes', 'Total', 'Status', 'Created', 'cmdSave', 'txtName', 'lblTitle',
    'rs', 'db', 'i', 'n', 'strSQL', 'Counter', 'Region', 'Phone', 'Address'];
const types = ['TEXT(50)', 'TEXT(255)', 'LONG', 'INTEGER', 'DOUBLE', 'CURRENCY', 'DATETIME',
    'MEMO', 'BIT', 'COUNTER', 'DECIMAL(18, 4)', 'GUID'];

function sqlLine() {
    const id = pick(identifiers);
    return pick([
        () => `\t[${id}] ${pick(types)}${chance(0.3) ? ' NOT NULL' : ''},`,
        () => `CREATE TABLE [${id}] (`,
        () => `);`,
        () => `CREATE ${chance(0.3) ? 'UNIQUE ' : ''}INDEX [${id}Index] ON [${pick(identifiers)}] ([${id}]);`,
        () => `ALTER TABLE [${id}] ADD CONSTRAINT [PK_${id}] PRIMARY KEY ([${pick(identifiers)}]);`,
        () => `ALTER TABLE [${id}] ALTER COLUMN [${pick(identifiers)}] SET DEFAULT ${below(1000)};`,
        () => `SELECT [${id}], [${pick(identifiers)}] FROM [${pick(identifiers)}] WHERE [${id}] > ${below(100)};`,
        () => ``,
    ])();
}

function vbaLine() {
    const id = pick(identifiers);
    const indent = '    '.repeat(below(3));
    return pick([
        () => `Private Sub ${id}_Click()`,
        () => `End Sub`,
        () => `${indent}Dim ${id} As ${pick(['Integer', 'Long', 'String', 'Variant', 'Recordset'])}`,
        () => `${indent}${id} = ${pick(identifiers)} + ${below(100)}`,
        () => `${indent}If ${id} > ${below(10)} Then`,
        () => `${indent}End If`,
        () => `${indent}' ${prose(10 + below(40)).replace(/\n/g, ' ')}`,
        () => `${indent}Me.${id}.Caption = "${pick(words)} ${pick(words)}"`,
        () => `Begin Form`,
        () => `    Width =${below(20000)}`,
        () => ``,
    ])();
}

function xmlLine() {
    const indent = '    '.repeat(1 + below(4));
    return pick([
        () => `${indent}<DataMacro Event="${pick(['AfterInsert', 'AfterUpdate', 'BeforeChange'])}">`,
        () => `${indent}</DataMacro>`,
        () => `${indent}<Action Name="SetField">`,
        () => `${indent}<Argument Name="Field">${pick(identifiers)}</Argument>`,
        () => `${indent}<Argument Name="Value">[${pick(identifiers)}]*${below(10)}</Argument>`,
        () => `${indent}</Action>`,
    ])();
}

function lineText(lineMaker, count, eol) {
    const lines = [];
    for (let i = 0; i < count; i++) lines.push(lineMaker());
    return lines.join(eol) + (chance(0.5) ? eol : '');
}

// Line edits: delete, insert, change a few characters, duplicate, replace or move a line.
function editLines(text, eol, lineMaker, rate) {
    const lines = text.split(eol);
    const out = [];
    for (let i = 0; i < lines.length; i++) {
        if (!chance(rate)) {
            out.push(lines[i]);
            continue;
        }
        switch (below(6)) {
            case 0: break; // deleted
            case 1: out.push(lineMaker(), lines[i]); break;
            case 2: out.push(edit(lines[i], 1 + below(2), (n) => randomString('abcXYZ0123 _[]', n))); break;
            case 3: out.push(lines[i], lines[i]); break;
            case 4: out.push(lineMaker()); break;
            case 5: // moved further down
                lines.splice(Math.min(lines.length, i + 1 + below(20)), 0, lines[i]);
                break;
        }
    }
    return out.join(eol);
}

// --- The corpus --------------------------------------------------------------------------

// Cases known from the reference's own test suite and the comparer's typical texts.
const basics = [
    ['', ''], ['', 'abc'], ['abc', ''], ['abc', 'abc'], ['a', 'b'],
    ['abc', 'ab123c'], ['a123bc', 'abc'], ['abc', 'a123b456c'], ['a123b456c', 'abc'],
    ['Apples are a fruit.', 'Bananas are also fruit.'], ['ax\t', '\u0680x\u0000'],
    ['1ayb2', 'abxab'], ['abcy', 'xaxcxabc'],
    ['ABCDa=bcd=efghijklmnopqrsEFGHIJKLMNOefg', 'a-bcd-efghijklmnopqrs'],
    ['a [[Pennsylvania]] and [[New', ' and [[Pennsylvania]]'],
    ['1234567890', 'abcdef'], ['1234567890', 'a345678z'], ['a345678z', '1234567890'],
    ['abc56789z', '1234567890'], ['a23456xyz', '1234567890'],
    ['121231234123451234123121', 'a1234123451234z'],
    ['x-=-=-=-=-=-=-=-=-=-=-=-=', 'xx-=-=-=-=-=-=-='],
    ['-=-=-=-=-=-=-=-=-=-=-=-=y', '-=-=-=-=-=-=-=yy'],
    ['qHilloHelloHew', 'xHelloHeHulloy'],
    ['cat', 'map'], ['The cat', 'The big cat'], ['The big cat', 'The cat'],
    ['SELECT [Name] FROM [Customers];', 'SELECT [Title] FROM [Customers];'],
    ['ALTER TABLE [T] ADD COLUMN [F] TEXT(50);\r\n', ''],
    ['', 'ALTER TABLE [T] ADD COLUMN [F] TEXT(50);\r\nALTER TABLE [T] ALTER COLUMN [F] SET DEFAULT 1;\r\n'],
    ['1234567890\n'.repeat(13), 'abcdefghij\n'.repeat(13)],
    ['1234567890'.repeat(13), 'abcdefghij'.repeat(13)],
    ['1234567890\n'.repeat(13), 'abcdefghij\n1234567890\n1234567890\n1234567890\nabcdefghij\n' +
        '1234567890\n1234567890\n1234567890\nabcdefghij\n1234567890\n1234567890\n1234567890\nabcdefghij\n'],
    ['\n\n\n', '\n'], ['\r\n\r\n', '\r\n'], ['a\n\nb', 'a\nb'],
    ['\uD83D\uDE00', '\uD83D\uDE01'], ['x\uD83D\uDE00y', 'x\uD83E\uDE00y'],
    ['\uD800', '\uDC00'], ['ab\uD83D', 'ab\uDE00'],
    // Line mode leaves an empty edit where one side of a replacement is wholly an overlap.
    ['\niota kappa lambda mu nu\nalpha beta gamma\niota kappa lambda mu nu\nepsilon zeta eta theta\n' +
        'epsilon zeta eta theta\niota kappa lambda mu nu\niota kappa lambda mu nu\ndelta\n',
     'alpha beta gamma\niota kappa lambda mu nu\ndelta\nalpha beta gamma\niota kappa lambda mu nu\n' +
        'x\nalpha beta gamma\nalpha beta gamma\n'],
];
basics.forEach(([a, b], i) => add(`basic/${i}`, a, b));

// Prefix and suffix shapes.
for (let i = 0; i < 24; i++) {
    const core = prose(5 + below(60));
    const extra = prose(1 + below(20));
    const shapes = [
        [core, core + extra], [core + extra, core], [extra + core, core], [core, extra + core],
        [core + extra + core, core + core], [core + core, core + extra + core],
    ];
    const [a, b] = shapes[i % shapes.length];
    add(`prefix-suffix/${i}`, a, b);
}

// Small texts over small alphabets: many coincidental matches for the bisection and the
// merge cleanup.
for (let i = 0; i < 400; i++) {
    const alphabet = pick(['ab', 'abc', 'abcd', 'ab ', 'a.b c\n', 'xyz01']);
    add(`random-small/${i}`, randomString(alphabet, below(30)), randomString(alphabet, below(30)));
}

// Medium prose with random edits, some above the 100-unit line-mode threshold.
for (let i = 0; i < 160; i++) {
    const a = prose(10 + below(i < 80 ? 150 : 600));
    const b = edit(a, 1 + below(8), prose);
    add(`random-edit/${i}`, a, b);
}

// Texts that share one long run: the half-match split.
for (let i = 0; i < 50; i++) {
    const common = prose(20 + below(200));
    const side = () => randomString('abcdefgh \n', below(common.length / 2));
    add(`halfmatch/${i}`, side() + common + side(), side() + edit(common, below(3), prose) + side());
}

// Source-like line texts: line mode, semantic cleanup and the character re-diff.
const makers = [[sqlLine, '\r\n'], [vbaLine, '\r\n'], [xmlLine, '\n'], [vbaLine, '\n']];
for (let i = 0; i < 60; i++) {
    const [maker, eol] = makers[i % makers.length];
    const a = lineText(maker, 10 + below(i < 45 ? 45 : 130), eol);
    const b = editLines(a, eol, maker, pick([0.01, 0.03, 0.1, 0.3]));
    add(`source/${i}`, a, b);
}

// Unicode: letters outside ASCII, surrogate pairs, combining marks, white space that only
// the JavaScript set knows, lone surrogates.
const unicodeAlphabet = ['a', 'b', ' ', '\n', '\u00e9', '\u4e2d', '\u6587', '\uD83D\uDE00',
    '\uD83D\uDE01', '\uD834\uDD1E', 'e\u0301', '\u00a0', '\u3000', '\u2028', '\r\n', '.',
    '\u2003', '\ufeff', '\uD800'];
for (let i = 0; i < 120; i++) {
    const length = i < 90 ? below(40) : 100 + below(200);
    const a = randomString(unicodeAlphabet, length);
    const b = i % 3 === 0 ? randomString(unicodeAlphabet, length)
                          : edit(a, 1 + below(6), (n) => randomString(unicodeAlphabet, n));
    add(`unicode/${i}`, a, b);
}

// Many equal lines and blank lines: coincidental line matches for the semantic cleanup.
for (let i = 0; i < 30; i++) {
    const line = () => pick(['', '', '}', '{', 'end', 'x = 1', pick(words) + ' ' + pick(words)]);
    const a = lineText(line, 20 + below(80), '\n');
    add(`repetitive/${i}`, a, editLines(a, '\n', line, pick([0.1, 0.3, 0.6])));
}

// Deadlines that pass: at once, and after some readings of the clock.
for (let i = 0; i < 60; i++) {
    const kind = i % 3;
    let a, b;
    if (kind === 0) {
        a = randomString('abcd', 20 + below(200));
        b = randomString('abcd', 20 + below(200));
    } else if (kind === 1) {
        a = prose(100 + below(400));
        b = edit(a, 2 + below(10), prose);
    } else {
        a = lineText(vbaLine, 20 + below(40), '\r\n');
        b = editLines(a, '\r\n', vbaLine, 0.2);
    }
    add(`deadline/${i}`, a, b, i < 20 ? 0 : below(40));
}

// Line-number limits: more than 40,000 distinct lines in the first text, and more than
// 65,535 in both.
add('limits/first-text-lines', {escaped: 'A\\n\\#0,40100;Z'},
    {escaped: 'B\\n\\#0,20000;changed\\n\\#20001,40100;Y'});
// (Most lines are shared, so a half-match splits the line diff, and the last lines are
// single units, so the re-diff of what replaced them stays cheap.)
add('limits/all-lines', {escaped: '\\#0,34000;Q'},
    {escaped: 'start\\n\\#0,34000;\\#100000,132000;R'});

process.stdout.write(
    `# Segments of diff-match-patch ${version} diff_main(a, b, true); see generate.js.\n` +
    cases.join('\n') + '\n');
