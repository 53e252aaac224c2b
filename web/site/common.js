// What every page shares: building elements (a text from the server only
// ever goes in as textContent, never as markup), reading the server's JSON,
// checking the values it holds, and the Japanese names of games, sides and
// states as the game programs write them.

export function el(tag, props = {}, ...children) {
    const e = document.createElement(tag);
    for (const [key, value] of Object.entries(props)) {
        if (value === undefined || value === null || value === false) continue;
        if (key === 'text') e.textContent = String(value);
        else if (key === 'class') e.className = value;
        else e.setAttribute(key, value === true ? '' : String(value));
    }
    // append() turns a string into a text node, so children are safe too.
    for (const child of children) if (child !== undefined && child !== null) e.append(child);
    return e;
}

export async function fetchJson(url) {
    const reply = await fetch(url, { cache: 'no-store', headers: { Accept: 'application/json' } });
    if (!reply.ok) {
        const error = new Error(`${url}: ${reply.status}`);
        error.status = reply.status;
        throw error;
    }
    return reply.json();
}

export const isObject = (v) => v !== null && typeof v === 'object' && !Array.isArray(v);

// A text from the server, or '' for anything that is not one.
export const text = (v) => (typeof v === 'string' ? v : '');

// A count (moves, watchers, stones): a whole number from 0, else `fallback`.
export const count = (v, fallback = 0) => (Number.isSafeInteger(v) && v >= 0 ? v : fallback);

// A game's number: a whole number from 1, else null.
export const gameId = (v) => (Number.isSafeInteger(v) && v > 0 ? v : null);

export const gamePath = (id) => `/games/${id}`;

export const gameKind = (v) => (v === 'shogi' || v === 'go' ? v : null);

export function gameName(kind) {
    return kind === 'shogi' ? '将棋' : kind === 'go' ? '囲碁' : '—';
}

// "先手"/"後手" in shogi, "黒"/"白" in go.
export function sideName(kind, side) {
    if (kind === 'go') return side === 'black' ? '黒' : '白';
    return side === 'black' ? '先手' : '後手';
}

export function turnText(kind, turn) {
    return turn === 'black' || turn === 'white' ? `${sideName(kind, turn)}の番` : '';
}

// "2026/12/08 21:00" in the reader's own time, or '' for a bad time.
export function formatTime(iso) {
    if (typeof iso !== 'string') return '';
    const t = new Date(iso);
    if (Number.isNaN(t.getTime())) return '';
    const two = (n) => String(n).padStart(2, '0');
    return `${t.getFullYear()}/${two(t.getMonth() + 1)}/${two(t.getDate())} ` +
        `${two(t.getHours())}:${two(t.getMinutes())}`;
}

// The result's own text, or one made from what is known of it.
export function resultText(result) {
    if (!isObject(result)) return '';
    return text(result.text) || '終局';
}
