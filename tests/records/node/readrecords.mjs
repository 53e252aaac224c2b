// Reads KIF and CSA files with tsshogi, a shogi library written elsewhere,
// and prints the position after every move, so the record tool's files are
// checked by a reader that owes nothing to ours.
//
//   node readrecords.mjs FILE...
//
// One line per position: the file, the move number (0 for the start) and the
// position as SFEN; or the file, "ERROR" and the reader's message.
import { readFileSync } from "node:fs";
import { importCSA, importKIF } from "tsshogi";

for (const path of process.argv.slice(2)) {
  const encoding = path.endsWith(".kifu") ? "utf-8" : "shift_jis";
  const text = new TextDecoder(encoding, { fatal: true }).decode(readFileSync(path));
  const record = path.endsWith(".csa") ? importCSA(text) : importKIF(text);
  if (record instanceof Error) {
    console.log(`${path}\tERROR\t${record.message}`);
    continue;
  }
  for (let ply = 0; ply <= record.length; ply++) {
    record.goto(ply);
    console.log(`${path}\t${ply}\t${record.position.sfen}`);
  }
}
