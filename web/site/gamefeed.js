// Follows a running game through the server's event stream: one "move"
// event per position, then one "end" event with the result, after which the
// server closes the stream. A stream that breaks is opened again a little
// later from the last position the page holds, so nothing is missed and
// nothing is taken twice.
const RETRY_MS = 2000;

export class GameFeed {
    // after() gives the n of the last position held; onMove(position) and
    // onEnd(result) take what arrives, already parsed.
    constructor(id, { after, onMove, onEnd }) {
        this.id = id;
        this.after = after;
        this.onMove = onMove;
        this.onEnd = onEnd;
        this.source = null;
        this.retry = null;
        this.stopped = true;
    }

    start() {
        this.stopped = false;
        this.open();
    }

    stop() {
        this.stopped = true;
        clearTimeout(this.retry);
        this.source?.close();
        this.source = null;
    }

    get running() { return !this.stopped; }

    open() {
        const source = new EventSource(`/api/games/${this.id}/stream?after=${this.after()}`);
        this.source = source;
        source.addEventListener('move', (e) => {
            const position = parse(e.data);
            if (position !== undefined) this.onMove(position);
        });
        source.addEventListener('end', (e) => {
            this.stop();
            this.onEnd(parse(e.data) ?? null);
        });
        // The browser would reconnect by itself, with the first URL; the page
        // reconnects itself instead, from what it holds by then.
        source.addEventListener('error', () => {
            if (this.stopped || this.source !== source) return;
            source.close();
            this.source = null;
            this.retry = setTimeout(() => { if (!this.stopped) this.open(); }, RETRY_MS);
        });
    }
}

function parse(data) {
    try {
        return JSON.parse(data);
    } catch {
        return undefined;
    }
}
