// The watch page (/games/ID): one game's board, live while it is played and
// move by move afterwards. A running game is followed through its event
// stream; whoever watches the newest position sees each move as it comes,
// whoever has stepped back keeps his place. 最初 / 前 / 次 / 最後 and the
// arrow keys (Home, End too) step through the positions.
import { el, fetchJson, isObject, text, gameKind, gameName, sideName, turnText,
         formatTime, resultText } from './common.js';
import { createBoard } from './board.js';
import { GameFeed } from './gamefeed.js';

const RECORD_FORMATS = {
    shogi: [['kif', 'KIF'], ['csa', 'CSA'], ['sho', 'SHO']],
    go: [['sgf', 'SGF'], ['chs', 'CHS']],
};

const $ = (id) => document.getElementById(id);

class WatchPage {
    constructor(id) {
        this.id = id;
        this.game = null;
        this.positions = [];
        this.view = 0;
        this.result = null;
        this.board = null;
        this.feed = new GameFeed(id, {
            after: () => this.positions.length - 1,
            onMove: (p) => this.takeMove(p),
            onEnd: (r) => this.takeEnd(r),
        });
        for (const button of document.querySelectorAll('[data-step]'))
            button.addEventListener('click', () => this.step(button.dataset.step));
        document.addEventListener('keydown', (e) => this.key(e));
    }

    async load() {
        let detail;
        try {
            detail = await fetchJson(`/api/games/${this.id}`);
        } catch (e) {
            this.fail(e.status === 404 ? 'この対局は見つかりません。' : '対局を読み込めませんでした。');
            return;
        }
        const kind = isObject(detail) ? gameKind(detail.game) : null;
        if (!kind) {
            this.fail('対局を読み込めませんでした。');
            return;
        }
        this.game = detail;
        this.kind = kind;
        this.positions = Array.isArray(detail.positions) ? detail.positions.filter(isObject) : [];
        if (this.positions.length === 0) this.positions.push({ n: 0 });
        this.view = this.positions.length - 1;
        this.result = isObject(detail.result) ? detail.result : null;
        this.board = createBoard(kind, $('board'));
        this.showGame();
        this.show();
        if (detail.ended === null || detail.ended === undefined) this.feed.start();
        this.showLive();
    }

    fail(message) {
        $('message').textContent = message;
        $('message').hidden = false;
        $('game').hidden = true;
    }

    showGame() {
        const g = this.game, kind = this.kind;
        const title = `第${this.id}局 ${gameName(kind)}`;
        document.title = `${title} - Quor`;
        $('title').textContent = title;
        const black = text(g.black), white = text(g.white);
        this.board.setPlayers(black, white);
        const players = $('players');
        if (g.sides === 'known') {
            players.replaceChildren(`${sideName(kind, 'black')} `, el('strong', { text: black }),
                ` 対 ${sideName(kind, 'white')} `, el('strong', { text: white }));
        } else {
            players.replaceChildren(el('strong', { text: black }), ' 対 ', el('strong', { text: white }),
                el('span', { class: 'note', text: '（先後は初手で決まります）' }));
        }
        $('started').textContent = formatTime(g.started) ? `開始 ${formatTime(g.started)}` : '';
        const links = $('records');
        links.replaceChildren(el('span', { text: '棋譜ファイル:' }));
        for (const [ext, name] of RECORD_FORMATS[kind]) {
            links.append(' ', el('a', { href: `/api/games/${this.id}.${ext}`, download: `quor-${this.id}.${ext}`,
                                        'data-record': ext, text: name }));
        }
    }

    showLive() {
        const live = $('live');
        live.textContent = this.result || !this.feed.running ? '終局' : '中継中';
        live.className = `live ${this.feed.running ? 'on' : 'off'}`;
        const result = $('result');
        result.textContent = this.result ? resultText(this.result) : '';
        result.hidden = !this.result;
    }

    show() {
        const position = this.positions[this.view];
        this.board.show(position);
        const last = this.positions.length - 1;
        const moveNumber = $('move-number');
        moveNumber.dataset.n = String(this.view);
        moveNumber.textContent = this.view === 0 ? '開始局面' : `第${this.view}手`;
        $('move-total').textContent = `全${last}手`;
        $('turn').textContent = turnText(this.kind, position.turn);
        $('last-move').textContent = this.board.describeLast(position);
        for (const button of document.querySelectorAll('[data-step]')) {
            const back = button.dataset.step === 'first' || button.dataset.step === 'prev';
            button.disabled = back ? this.view === 0 : this.view === last;
        }
    }

    step(where) {
        const last = this.positions.length - 1;
        const to = { first: 0, prev: this.view - 1, next: this.view + 1, last }[where];
        if (to === undefined || !this.board) return;
        const view = Math.max(0, Math.min(last, to));
        if (view === this.view) return;
        this.view = view;
        this.show();
    }

    key(e) {
        if (e.altKey || e.ctrlKey || e.metaKey || e.target instanceof HTMLInputElement) return;
        const where = { ArrowLeft: 'prev', ArrowRight: 'next', Home: 'first', End: 'last' }[e.key];
        if (!where) return;
        e.preventDefault();
        this.step(where);
    }

    takeMove(position) {
        if (!isObject(position) || !Number.isSafeInteger(position.n)) return;
        const held = this.positions.length;
        if (position.n < held) return;  // already held
        if (position.n > held) {        // some were missed: start again from the whole game
            this.resync();
            return;
        }
        // The first move decides who is black.
        if (typeof position.black === 'string' && typeof position.white === 'string' &&
            this.game.sides !== 'known') {
            Object.assign(this.game, { black: position.black, white: position.white, sides: 'known' });
            this.showGame();
        }
        const following = this.view === held - 1;
        this.positions.push(position);
        if (following) this.view = held;
        this.show();
    }

    takeEnd(result) {
        this.result = isObject(result) ? result : { text: '終局' };
        this.showLive();
    }

    async resync() {
        this.feed.stop();
        try {
            const detail = await fetchJson(`/api/games/${this.id}`);
            if (isObject(detail) && Array.isArray(detail.positions)) {
                const following = this.view === this.positions.length - 1;
                this.positions = detail.positions.filter(isObject);
                if (this.positions.length === 0) this.positions.push({ n: 0 });
                this.view = following ? this.positions.length - 1 : Math.min(this.view, this.positions.length - 1);
                this.result = isObject(detail.result) ? detail.result : null;
                this.show();
            }
        } catch {
            // The stream, opened again, tries once more.
        }
        if (!this.result) this.feed.start();
        this.showLive();
    }
}

const match = /^\/games\/([1-9][0-9]{0,14})\/?$/.exec(location.pathname);
if (match) {
    await new WatchPage(Number(match[1])).load();
} else {
    $('message').textContent = 'この対局は見つかりません。';
    $('message').hidden = false;
    $('game').hidden = true;
}
