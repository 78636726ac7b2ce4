// Talks to an RCON server with the third-party `rcon-client` package and checks its replies.
//
// node real_client_test.mjs --port PORT --password PASSWORD --expect FILE
//                           [--host 127.0.0.1] [--wrong-password TEXT] [--timeout-ms 5000]
//
// FILE is JSON: {"commands": [{"command": "hordesize.resizeall", "reply": "Resized ...\n"}, ...]}
// Each reply is compared exactly, final line feed included. The checks:
//   - connecting and authenticating with PASSWORD succeeds;
//   - each command, sent one at a time, gets exactly its reply;
//   - all commands sent at once (pipelined) each get exactly their reply;
//   - a wrong password is refused ("Authentication failed" from rcon-client);
//   - the server still serves a correct client after that refusal.
// Prints one line per check and a last line "N passed, M failed". Exit code 0 when all passed,
// 1 when a check failed, 2 for bad arguments or when the whole run exceeds its time limit.
import { readFileSync } from "node:fs";
import { Rcon } from "rcon-client";

function usage(message) {
  console.error(`real_client_test: ${message}`);
  console.error(
    "usage: node real_client_test.mjs --port PORT --password PASSWORD --expect FILE " +
      "[--host 127.0.0.1] [--wrong-password TEXT] [--timeout-ms 5000]",
  );
  process.exit(2);
}

function parseArgs(argv) {
  const options = { host: "127.0.0.1", timeoutMs: 5000 };
  const names = {
    "--host": "host",
    "--port": "port",
    "--password": "password",
    "--wrong-password": "wrongPassword",
    "--expect": "expect",
    "--timeout-ms": "timeoutMs",
  };
  for (let i = 0; i < argv.length; i += 2) {
    const key = names[argv[i]];
    if (!key) usage(`unknown argument '${argv[i]}'`);
    if (i + 1 >= argv.length) usage(`${argv[i]} needs a value`);
    options[key] = argv[i + 1];
  }
  options.port = Number(options.port);
  options.timeoutMs = Number(options.timeoutMs);
  if (!Number.isInteger(options.port) || options.port <= 0 || options.port > 65535) {
    usage("--port must be a port number");
  }
  if (!Number.isFinite(options.timeoutMs) || options.timeoutMs <= 0) {
    usage("--timeout-ms must be a positive number");
  }
  if (options.password === undefined) usage("--password is required");
  if (options.expect === undefined) usage("--expect is required");
  if (options.wrongPassword === undefined) options.wrongPassword = `${options.password}-wrong`;
  if (options.wrongPassword === options.password) usage("--wrong-password equals --password");
  return options;
}

function loadCases(file) {
  let parsed;
  try {
    parsed = JSON.parse(readFileSync(file, "utf8"));
  } catch (error) {
    usage(`cannot read ${file}: ${error.message}`);
  }
  const cases = parsed?.commands;
  if (!Array.isArray(cases) || cases.length === 0) usage(`${file}: "commands" must be a non-empty list`);
  for (const [index, entry] of cases.entries()) {
    if (typeof entry?.command !== "string" || typeof entry?.reply !== "string") {
      usage(`${file}: commands[${index}] needs string "command" and "reply"`);
    }
  }
  return cases;
}

const options = parseArgs(process.argv.slice(2));
const cases = loadCases(options.expect);

// The whole run is bounded even if a socket stalls in a way rcon-client's own timeouts miss.
const runLimitMs = options.timeoutMs * (cases.length * 2 + 10);
setTimeout(() => {
  console.error(`real_client_test: gave up after ${runLimitMs} ms`);
  process.exit(2);
}, runLimitMs).unref();

let passed = 0;
let failed = 0;
function pass(name) {
  passed += 1;
  console.log(`ok   ${name}`);
}
function fail(name, detail) {
  failed += 1;
  console.log(`FAIL ${name}: ${detail}`);
}
function checkReply(name, expected, actual) {
  if (actual === expected) pass(name);
  else fail(name, `expected ${JSON.stringify(expected)}, got ${JSON.stringify(actual)}`);
}

// Connects and authenticates; rejects as rcon-client does ("Authentication failed", a timeout,
// or the socket's error).
async function connect(password, maxPending = 1) {
  const rcon = new Rcon({
    host: options.host,
    port: options.port,
    password,
    timeout: options.timeoutMs,
    maxPending,
  });
  // Socket errors after connecting reach the pending request as "Connection closed"; without a
  // listener the emitter would throw them instead.
  rcon.on("error", () => {});
  await rcon.connect();
  return rcon;
}

async function closeQuietly(rcon) {
  try {
    await rcon?.end();
  } catch {
    // already closed
  }
}

async function oneAtATime() {
  let rcon;
  try {
    rcon = await connect(options.password);
    pass("authenticates with the right password");
  } catch (error) {
    fail("authenticates with the right password", error.message);
    return;
  }
  try {
    for (const { command, reply } of cases) {
      try {
        checkReply(`reply to '${command}'`, reply, await rcon.send(command));
      } catch (error) {
        fail(`reply to '${command}'`, error.message);
      }
    }
  } finally {
    await closeQuietly(rcon);
  }
}

async function pipelined() {
  const name = `${cases.length} commands sent at once`;
  let rcon;
  try {
    rcon = await connect(options.password, cases.length);
    const replies = await Promise.all(cases.map(({ command }) => rcon.send(command)));
    const wrong = cases.filter(({ reply }, index) => replies[index] !== reply);
    if (wrong.length === 0) pass(name);
    else {
      const index = cases.indexOf(wrong[0]);
      fail(name, `'${wrong[0].command}' expected ${JSON.stringify(wrong[0].reply)}, ` +
        `got ${JSON.stringify(replies[index])}`);
    }
  } catch (error) {
    fail(name, error.message);
  } finally {
    await closeQuietly(rcon);
  }
}

async function wrongPasswordRefused() {
  const name = "a wrong password is refused";
  let rcon;
  try {
    rcon = await connect(options.wrongPassword);
    fail(name, "the server accepted it");
  } catch (error) {
    if (error.message === "Authentication failed") pass(name);
    else fail(name, `expected "Authentication failed", got "${error.message}"`);
  } finally {
    await closeQuietly(rcon);
  }
}

async function servesAfterRefusal() {
  const { command, reply } = cases[0];
  const name = `still serves after a refusal ('${command}')`;
  let rcon;
  try {
    rcon = await connect(options.password);
    checkReply(name, reply, await rcon.send(command));
  } catch (error) {
    fail(name, error.message);
  } finally {
    await closeQuietly(rcon);
  }
}

await oneAtATime();
await pipelined();
await wrongPasswordRefused();
await servesAfterRefusal();
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
