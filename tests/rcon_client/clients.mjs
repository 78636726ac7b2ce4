// The third-party Source RCON clients the real-client test drives, behind one small interface:
//
//   connect({host, port, password, timeoutMs, maxPending}) -> Promise<{send(command), close()}>
//     rejects when the login fails; `send` resolves with the reply as the client gives it.
//   refusal      the message the client rejects a wrong password with.
//   shown(reply) the text the client hands back for an exact server reply.
//   concurrency  how "all commands at once" is tried with it: "one connection" sends them all on
//                one connection; "one connection each" opens a connection per command, for a
//                client that takes each socket read as one packet (several replies pipelined on
//                one connection may share a read, which such a client cannot take apart).
//
// Versions are pinned in package.json and package-lock.json.
import { createRequire } from "node:module";
import { Rcon as RconClient } from "rcon-client";

const require = createRequire(import.meta.url);
const SrcdsModule = require("rcon-srcds");
const SrcdsRcon = SrcdsModule.default ?? SrcdsModule;
const NodeRcon = require("rcon");

// Rejects with "<what> timed out" when `promise` takes longer than `ms`.
function within(ms, what, promise) {
  let timer;
  const timeout = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`${what} timed out after ${ms} ms`)), ms);
  });
  return Promise.race([promise, timeout]).finally(() => clearTimeout(timer));
}

// rcon-client 4.2.5: frames the byte stream itself, matches replies by request id, keeps up to
// `maxPending` requests in flight.
const rconClient = {
  refusal: "Authentication failed",
  shown: (reply) => reply,
  concurrency: "one connection",
  async connect({ host, port, password, timeoutMs, maxPending = 1 }) {
    const rcon = new RconClient({ host, port, password, timeout: timeoutMs, maxPending });
    // Socket errors after connecting reach the pending request as "Connection closed"; without a
    // listener the emitter would throw them instead.
    rcon.on("error", () => {});
    await rcon.connect();
    return { send: (command) => rcon.send(command), close: () => rcon.end() };
  },
};

// rcon-srcds 2.1.1: decodes each socket read as exactly one packet, and waits for the
// AUTH_RESPONSE of a login in a read of its own. Its bodies are read as UTF-8 here.
const rconSrcds = {
  refusal: "Unable to authenticate",
  shown: (reply) => reply,
  concurrency: "one connection each",
  async connect({ host, port, password, timeoutMs }) {
    const rcon = new SrcdsRcon({ host, port, timeout: timeoutMs, encoding: "utf8" });
    try {
      await within(timeoutMs, "login", rcon.authenticate(password));
    } catch (error) {
      if (rcon.isConnected()) await rcon.disconnect().catch(() => {});
      throw error;
    }
    return {
      send: (command) => within(timeoutMs, `'${command}'`, rcon.execute(command)),
      close: () => rcon.disconnect(),
    };
  },
};

// rcon 1.1.0 (node-rcon): frames the byte stream itself, but hands replies out as events with
// no request id (so in the order they come) and without one final line feed. A reply that comes
// with no request waiting (an extra packet from the server) fails the next request.
const nodeRcon = {
  refusal: "Authentication failed",
  shown: (reply) => reply.replace(/\n$/, ""),
  concurrency: "one connection",
  connect({ host, port, password, timeoutMs }) {
    return within(
      timeoutMs,
      "login",
      new Promise((resolve, reject) => {
        const rcon = new NodeRcon(host, port, password);
        const waiting = [];
        let unexpected = null;
        let authenticated = false;
        rcon.on("response", (text) => {
          const next = waiting.shift();
          if (next) next.resolve(text);
          else unexpected ??= new Error(`a reply no request waited for: ${JSON.stringify(text)}`);
        });
        rcon.on("error", (error) => {
          if (!authenticated) {
            rcon.disconnect();
            reject(error);
          }
          while (waiting.length > 0) waiting.shift().reject(error);
        });
        rcon.on("end", () => {
          if (!authenticated) reject(new Error("Connection closed"));
          while (waiting.length > 0) waiting.shift().reject(new Error("Connection closed"));
        });
        rcon.on("auth", () => {
          authenticated = true;
          resolve({
            send(command) {
              if (unexpected) return Promise.reject(unexpected);
              const reply = new Promise((resolveReply, rejectReply) =>
                waiting.push({ resolve: resolveReply, reject: rejectReply }),
              );
              rcon.send(command);
              return within(timeoutMs, `'${command}'`, reply);
            },
            close: async () => rcon.disconnect(),
          });
        });
        rcon.connect();
      }),
    );
  },
};

export const clients = {
  "rcon-client": rconClient,
  "rcon-srcds": rconSrcds,
  rcon: nodeRcon,
};
