// The lobby page (/): who is on and the games being played, asked of the
// server every two seconds. A poll is sent only once the last one has been
// answered, so a slow server is never asked twice at once.
import { el, fetchJson, isObject, text, count, gameId, gamePath, gameKind, gameName,
         formatTime } from './common.js';

const POLL_MS = 2000;
const STATES = { free: '空き', playing: '対局中', watching: '観戦中' };

const $ = (id) => document.getElementById(id);

function showUsers(users) {
    const rows = users.filter(isObject).map((u) => {
        const state = Object.hasOwn(STATES, u.state) ? u.state : '';
        return el('tr', { 'data-user': text(u.id) },
            el('td', { class: 'id', text: text(u.id) }),
            el('td', { text: gameName(gameKind(u.game)) }),
            el('td', { class: `state ${state}`, text: state ? STATES[state] : '' }));
    });
    $('users').tBodies[0].replaceChildren(...rows);
    $('users').hidden = rows.length === 0;
    $('no-users').hidden = rows.length !== 0;
    $('user-count').textContent = `${rows.length}人`;
}

function showGames(games) {
    const rows = [];
    for (const g of games.filter(isObject)) {
        const id = gameId(g.id);
        if (id === null) continue;
        rows.push(el('tr', { 'data-game': id },
            el('td', { text: gameName(gameKind(g.game)) }),
            el('td', { class: 'id', text: text(g.black) }),
            el('td', { class: 'id', text: text(g.white) }),
            el('td', { class: 'num', text: String(count(g.moves)) }),
            el('td', { class: 'num', text: String(count(g.watchers)) }),
            el('td', { text: formatTime(g.started) }),
            el('td', {}, el('a', { href: gamePath(id), text: '観戦する' }))));
    }
    $('games').tBodies[0].replaceChildren(...rows);
    $('games').hidden = rows.length === 0;
    $('no-games').hidden = rows.length !== 0;
    $('game-count').textContent = `${rows.length}局`;
}

async function poll() {
    try {
        const lobby = await fetchJson('/api/lobby');
        if (!isObject(lobby)) throw new Error('not a lobby');
        showUsers(Array.isArray(lobby.users) ? lobby.users : []);
        showGames(Array.isArray(lobby.games) ? lobby.games : []);
        const now = new Date();
        $('status').textContent = `${now.toLocaleTimeString('ja-JP')} 現在`;
        $('status').classList.remove('error');
    } catch {
        $('status').textContent = 'サーバーから返事がありません。続けて問い合わせています…';
        $('status').classList.add('error');
    }
    setTimeout(poll, POLL_MS);
}

// The first answer is awaited, so the page counts as loaded once it shows it.
await poll();
