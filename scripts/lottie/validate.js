#!/usr/bin/env node
// Checks Lottie files against the format's schema with the format's own validator
// (@lottie-animation-community/lottie-specs). Run through scripts/lottie-validate.sh.
//
//   validate.js --schema SCHEMA [--no-warnings] FILE...
//
// Prints, per file, "ok" or its errors and warnings with their JSON paths. Exits 1 when any
// file has an error (warnings alone do not fail), 2 on bad usage.
'use strict';

const fs = require('fs');
const { LottieValidator } = require('@lottie-animation-community/lottie-specs/src/validator-node.js');
const { Ajv2020 } = require('ajv/dist/2020');

let schemaPath = null;
let warnings = true;
const files = [];
const argv = process.argv.slice(2);
for (let i = 0; i < argv.length; i++) {
  if (argv[i] === '--schema' && i + 1 < argv.length) schemaPath = argv[++i];
  else if (argv[i] === '--no-warnings') warnings = false;
  else files.push(argv[i]);
}
if (!schemaPath || files.length === 0) {
  process.stderr.write('usage: validate.js --schema SCHEMA [--no-warnings] FILE...\n');
  process.exit(2);
}
const validator = new LottieValidator(Ajv2020, JSON.parse(fs.readFileSync(schemaPath, 'utf8')));

let failed = 0;
for (const file of files) {
  let problems;
  try {
    problems = validator.validate(fs.readFileSync(file, 'utf8'), warnings);
  } catch (e) {
    problems = [{ type: 'error', path: '', message: e.message }];
  }
  const errors = problems.filter((p) => p.type === 'error').length;
  const rest = problems.length - errors;
  if (errors) failed++;
  console.log(`${file}: ${problems.length ? `${errors} error(s), ${rest} warning(s)` : 'ok'}`);
  for (const p of problems) console.log(`  ${p.type}: ${p.path || '/'}: ${p.message}`);
}
process.exit(failed ? 1 : 0);
