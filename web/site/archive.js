// The archive page (/games): every game the server has kept, newest first,
// a page at a time. "?before=ID" in the address starts a page below that
// game, so every page can be linked to; the server says where the next one
// starts.
import { el, fetchJson, isObject, text, count, gameId, gamePath, gameKind, gameName,
         formatTime, resultText } from './common.js';

const PAGE_SIZE = 20;
const $ = (id) => document.getElementById(id);

function row(g) {
    const id = gameId(g.id);
    if (id === null) return null;
    const ended = typeof g.ended === 'string';
    const result = ended ? resultText(g.result) || '終局' : '対局中';
    return el('tr', { 'data-game': id },
        el('td', { class: 'num' }, el('a', { href: gamePath(id), text: `第${id}局` })),
        el('td', { text: gameName(gameKind(g.game)) }),
        el('td', { class: 'id', text: text(g.black) }),
        el('td', { class: 'id', text: text(g.white) }),
        el('td', { class: 'num', text: String(count(g.moves)) }),
        el('td', { text: formatTime(g.started) }),
        el('td', { class: ended ? 'result' : 'result running', text: result }));
}

async function load() {
    const before = gameId(Number(new URLSearchParams(location.search).get('before')));
    const query = before ? `before=${before}&limit=${PAGE_SIZE}` : `limit=${PAGE_SIZE}`;
    let page;
    try {
        page = await fetchJson(`/api/games?${query}`);
        if (!isObject(page)) throw new Error('not a page');
    } catch {
        $('status').textContent = '対局の記録を読み込めませんでした。';
        $('status').classList.add('error');
        return;
    }
    const rows = (Array.isArray(page.games) ? page.games : []).filter(isObject).map(row).filter(Boolean);
    $('games').tBodies[0].replaceChildren(...rows);
    $('games').hidden = rows.length === 0;
    $('no-games').hidden = rows.length !== 0;
    $('status').textContent = '';
    const next = gameId(page.next);
    $('older').hidden = next === null;
    if (next !== null) $('older').setAttribute('href', `/games?before=${next}`);
    $('newest').hidden = !before;
}

await load();
