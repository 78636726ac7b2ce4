// Talks to an RCON server with one of the third-party clients of clients.mjs and checks its
// replies.
//
// node real_client_test.mjs --client NAME --port PORT --password PASSWORD --expect FILE
//                           [--host 127.0.0.1] [--wrong-password TEXT] [--timeout-ms 5000]
//
// NAME is rcon-client, rcon-srcds or rcon. FILE is JSON:
// {"commands": [{"command": "hordesize.resizeall", "reply": "Resized ...\n"}, ...]}.
// Each reply is compared exactly, final line feed included, with what the client shows of it
// (the rcon package drops one final line feed). The checks:
//   - connecting and authenticating with PASSWORD succeeds;
//   - each command, sent one at a time, gets exactly its reply;
//   - all commands sent at once each get exactly their reply (on one connection, or on one
//     connection each for a client that takes each socket read as one packet);
//   - a wrong password is refused, with the client's own refusal message;
//   - the server still serves a correct client after that refusal.
// Prints one line per check and a last line "N passed, M failed". Exit code 0 when all passed,
// 1 when a check failed, 2 for bad arguments or when the whole run exceeds its time limit.
import { readFileSync } from "node:fs";
import { clients } from "./clients.mjs";

function usage(message) {
  console.error(`real_client_test: ${message}`);
  console.error(
    "usage: node real_client_test.mjs --client NAME --port PORT --password PASSWORD " +
      "--expect FILE [--host 127.0.0.1] [--wrong-password TEXT] [--timeout-ms 5000]",
  );
  process.exit(2);
}

function parseArgs(argv) {
  const options = { host: "127.0.0.1", timeoutMs: 5000 };
  const names = {
    "--client": "client",
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
  if (!Object.hasOwn(clients, options.client ?? "")) {
    usage(`--client must be one of ${Object.keys(clients).join(", ")}`);
  }
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
const client = clients[options.client];

// The whole run is bounded even if a socket stalls in a way the clients' own timeouts miss.
const runLimitMs = options.timeoutMs * (cases.length * 2 + 10);
setTimeout(() => {
  console.error(`real_client_test: gave up after ${runLimitMs} ms`);
  process.exit(2);
}, runLimitMs).unref();

let passed = 0;
let failed = 0;
function pass(name) {
  passed += 1;
  console.log(`ok   ${options.client}: ${name}`);
}
function fail(name, detail) {
  failed += 1;
  console.log(`FAIL ${options.client}: ${name}: ${detail}`);
}
function checkReply(name, expected, actual) {
  const shown = client.shown(expected);
  if (actual === shown) pass(name);
  else fail(name, `expected ${JSON.stringify(shown)}, got ${JSON.stringify(actual)}`);
}

function connect(password, maxPending = 1) {
  return client.connect({
    host: options.host,
    port: options.port,
    password,
    timeoutMs: options.timeoutMs,
    maxPending,
  });
}

async function closeQuietly(connection) {
  try {
    await connection?.close();
  } catch {
    // already closed
  }
}

async function oneAtATime() {
  let connection;
  try {
    connection = await connect(options.password);
    pass("authenticates with the right password");
  } catch (error) {
    fail("authenticates with the right password", error.message);
    return;
  }
  try {
    for (const { command, reply } of cases) {
      try {
        checkReply(`reply to '${command}'`, reply, await connection.send(command));
      } catch (error) {
        fail(`reply to '${command}'`, error.message);
      }
    }
  } finally {
    await closeQuietly(connection);
  }
}

// Sends every command at once and answers their replies in order.
async function sendAllAtOnce() {
  if (client.concurrency === "one connection") {
    const connection = await connect(options.password, cases.length);
    try {
      return await Promise.all(cases.map(({ command }) => connection.send(command)));
    } finally {
      await closeQuietly(connection);
    }
  }
  const connections = await Promise.all(cases.map(() => connect(options.password)));
  try {
    return await Promise.all(cases.map(({ command }, i) => connections[i].send(command)));
  } finally {
    await Promise.all(connections.map(closeQuietly));
  }
}

async function allAtOnce() {
  const name = `${cases.length} commands sent at once (${client.concurrency})`;
  try {
    const replies = await sendAllAtOnce();
    const wrong = cases.findIndex(({ reply }, index) => replies[index] !== client.shown(reply));
    if (wrong < 0) pass(name);
    else {
      fail(name, `'${cases[wrong].command}' expected ${JSON.stringify(client.shown(cases[wrong].reply))}, ` +
        `got ${JSON.stringify(replies[wrong])}`);
    }
  } catch (error) {
    fail(name, error.message);
  }
}

async function wrongPasswordRefused() {
  const name = "a wrong password is refused";
  let connection;
  try {
    connection = await connect(options.wrongPassword);
    fail(name, "the server accepted it");
  } catch (error) {
    if (error.message === client.refusal) pass(name);
    else fail(name, `expected "${client.refusal}", got "${error.message}"`);
  } finally {
    await closeQuietly(connection);
  }
}

async function servesAfterRefusal() {
  const { command, reply } = cases[0];
  const name = `still serves after a refusal ('${command}')`;
  let connection;
  try {
    connection = await connect(options.password);
    checkReply(name, reply, await connection.send(command));
  } catch (error) {
    fail(name, error.message);
  } finally {
    await closeQuietly(connection);
  }
}

await oneAtATime();
await allAtOnce();
await wrongPasswordRefused();
await servesAfterRefusal();
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
