// The go board of the watch page, drawn as the go program draws it: the
// nineteen lines on a wood board with the nine star points, the stones, the
// last stone marked, and beside the board each player's captured stones
// (black's on the right, white's on the left). Every point is an element of
// its own carrying data-x, data-y (1..19 from the left and from the top) and
// data-stone ("b", "w", "" when empty), so what is shown can be read back.
import { el, isObject, count } from './common.js';

const SIZE = 19;
const STARS = new Set([4, 10, 16]);

function stoneElement(colour) {
    return el('span', { class: `stone ${colour === 'b' ? 'black' : 'white'}` });
}

export class GoBoard {
    constructor(container) {
        this.names = {};
        this.captures = {};
        this.points = [];
        // Black's captures are white stones and white's are black ones.
        const side = (who) => {
            this.names[who] = el('span', { class: 'name', 'data-player': who });
            this.captures[who] = el('span', { class: 'captured', 'data-captures': who, text: '0' });
            return el('div', { class: `go-side ${who}` },
                el('div', { class: 'player' }, stoneElement(who === 'black' ? 'b' : 'w'),
                    el('span', { class: 'side', text: who === 'black' ? '黒' : '白' }),
                    this.names[who]),
                el('div', { class: 'capture-line' }, el('span', { text: 'アゲハマ' }),
                    stoneElement(who === 'black' ? 'w' : 'b'), this.captures[who]));
        };
        const grid = el('div', { class: 'go-board', 'data-board': 'go' });
        for (let i = 0; i < SIZE * SIZE; ++i) {
            const x = (i % SIZE) + 1, y = Math.floor(i / SIZE) + 1;
            const edges = [];
            if (x === 1) edges.push('left');
            if (x === SIZE) edges.push('right');
            if (y === 1) edges.push('top');
            if (y === SIZE) edges.push('bottom');
            const point = el('div', { class: ['pt', ...edges].join(' '), 'data-x': x, 'data-y': y,
                                      'data-stone': '' });
            if (STARS.has(x) && STARS.has(y)) point.append(el('i', { class: 'star' }));
            this.points.push(point);
            grid.append(point);
        }
        this.passNote = el('div', { class: 'pass-note', text: 'パス', hidden: true });
        container.replaceChildren(el('div', { class: 'go' },
            side('white'), el('div', { class: 'go-frame' }, grid, this.passNote), side('black')));
    }

    setPlayers(black, white) {
        this.names.black.textContent = black;
        this.names.white.textContent = white;
    }

    show(position) {
        const board = isObject(position) && Array.isArray(position.board) &&
            position.board.length === SIZE * SIZE ? position.board : [];
        this.points.forEach((point, i) => {
            const colour = board[i] === 'b' || board[i] === 'w' ? board[i] : '';
            if (point.dataset.stone !== colour) {
                point.dataset.stone = colour;
                point.querySelector('.stone')?.remove();
                if (colour) point.append(stoneElement(colour));
            }
            point.removeAttribute('data-last');
        });
        const last = isObject(position) && isObject(position.last) ? position.last : null;
        const on = (n) => Number.isInteger(n) && n >= 1 && n <= SIZE;
        if (last && on(last.x) && on(last.y)) this.points[(last.y - 1) * SIZE + last.x - 1].dataset.last = 'true';
        this.passNote.hidden = !(last && last.pass === true);
        const captures = isObject(position) && isObject(position.captures) ? position.captures : {};
        for (const who of ['black', 'white']) this.captures[who].textContent = String(count(captures[who]));
    }

    describeLast(position) {
        const last = isObject(position) && isObject(position.last) ? position.last : null;
        if (!last) return '';
        if (last.pass === true) return 'パス';
        const on = (n) => Number.isInteger(n) && n >= 1 && n <= SIZE;
        return on(last.x) && on(last.y) ? `(${last.x}, ${last.y})` : '';
    }
}
