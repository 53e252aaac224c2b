// The shogi board of the watch page, drawn as the shogi program draws it:
// nine by nine squares with the first player (black, sente) at the bottom,
// the second player's pieces upside down, promoted pieces in red, and each
// player's pieces in hand beside the board (black's on the right, white's on
// the left), only the kinds held, in the program's order. Every square is an
// element of its own carrying data-square (file and rank, "76") and
// data-piece ("bFU", "" when empty), so what is shown can be read back.
import { el, isObject, count } from './common.js';

const GLYPHS = {
    FU: '歩', KY: '香', KE: '桂', GI: '銀', KI: '金', KA: '角', HI: '飛',
    TO: 'と', NY: '杏', NK: '圭', NG: '全', UM: '馬', RY: '龍',
};
const PROMOTED = new Set(['TO', 'NY', 'NK', 'NG', 'UM', 'RY']);
const HAND_ORDER = ['FU', 'KY', 'KE', 'GI', 'KI', 'HI', 'KA'];
const PIECE = /^([bw])(FU|KY|KE|GI|KI|KA|HI|OU|TO|NY|NK|NG|UM|RY)$/;
const FILES = '１２３４５６７８９';
const RANKS = '一二三四五六七八九';
const MOST_IN_HAND = 18;

// The king of the player at the bottom is 玉, the other 王, as in the program.
export function pieceGlyph(side, kind) {
    if (kind === 'OU') return side === 'b' ? '玉' : '王';
    return GLYPHS[kind] ?? '';
}

function pieceElement(side, kind) {
    const classes = ['piece', side === 'b' ? 'black' : 'white'];
    if (PROMOTED.has(kind)) classes.push('promoted');
    return el('span', { class: classes.join(' '), text: pieceGlyph(side, kind) });
}

// [file, rank] of the position's move, each 1..9, or null.
function squareOf(v) {
    if (!Array.isArray(v) || v.length !== 2) return null;
    const [file, rank] = v;
    const ok = (n) => Number.isInteger(n) && n >= 1 && n <= 9;
    return ok(file) && ok(rank) ? (rank - 1) * 9 + (9 - file) : null;
}

export class ShogiBoard {
    constructor(container) {
        this.hands = {};
        this.names = {};
        this.squares = [];
        const side = (who, mark) => {
            this.names[who] = el('span', { class: 'name', 'data-player': who });
            this.hands[who] = el('div', { class: 'hand', 'data-hand': who });
            return el('div', { class: `hand-area ${who}` },
                el('div', { class: 'player' }, el('span', { class: 'mark', text: mark }),
                    el('span', { class: 'side', text: who === 'black' ? '先手' : '後手' }),
                    this.names[who]),
                el('div', { class: 'hand-label', text: '持駒' }), this.hands[who]);
        };
        const grid = el('div', { class: 'shogi-board', 'data-board': 'shogi' });
        for (let i = 0; i < 81; ++i) {
            const file = 9 - (i % 9), rank = Math.floor(i / 9) + 1;
            const square = el('div', { class: 'sq', 'data-square': `${file}${rank}`, 'data-piece': '' });
            this.squares.push(square);
            grid.append(square);
        }
        const files = el('div', { class: 'files' });
        for (let f = 9; f >= 1; --f) files.append(el('span', { text: FILES[f - 1] }));
        const ranks = el('div', { class: 'ranks' });
        for (const r of RANKS) ranks.append(el('span', { text: r }));
        container.replaceChildren(el('div', { class: 'shogi' },
            side('white', '☖'),
            el('div', { class: 'shogi-frame' }, files, grid, ranks),
            side('black', '☗')));
    }

    setPlayers(black, white) {
        this.names.black.textContent = black;
        this.names.white.textContent = white;
    }

    show(position) {
        const board = isObject(position) && Array.isArray(position.board) &&
            position.board.length === 81 ? position.board : [];
        this.squares.forEach((square, i) => {
            const m = PIECE.exec(typeof board[i] === 'string' ? board[i] : '');
            const code = m ? m[0] : '';
            if (square.dataset.piece !== code) {
                square.dataset.piece = code;
                square.replaceChildren(...(m ? [pieceElement(m[1], m[2])] : []));
            }
            square.removeAttribute('data-last');
        });
        const last = isObject(position) && isObject(position.last) ? position.last : null;
        const to = last ? squareOf(last.to) : null;
        const from = last ? squareOf(last.from) : null;
        if (from !== null) this.squares[from].dataset.last = 'from';
        if (to !== null) this.squares[to].dataset.last = 'to';
        const hands = isObject(position) && isObject(position.hands) ? position.hands : {};
        for (const who of ['black', 'white']) {
            const held = isObject(hands[who]) ? hands[who] : {};
            const entries = [];
            for (const kind of HAND_ORDER) {
                const n = Math.min(count(held[kind]), MOST_IN_HAND);
                if (n === 0) continue;
                entries.push(el('div', { class: 'hand-piece', 'data-piece': kind, 'data-count': n },
                    pieceElement(who === 'black' ? 'b' : 'w', kind),
                    el('span', { class: 'count', text: String(n) })));
            }
            this.hands[who].replaceChildren(...entries);
        }
    }

    // "７六歩" for the position's move ("打" for a drop), or ''.
    describeLast(position) {
        const last = isObject(position) && isObject(position.last) ? position.last : null;
        const to = last ? squareOf(last.to) : null;
        if (to === null) return '';
        const m = PIECE.exec(this.squares[to].dataset.piece || '');
        const [file, rank] = last.to;
        const mark = m ? (m[1] === 'b' ? '☗' : '☖') : '';
        const piece = m ? pieceGlyph(m[1], m[2]) : '';
        return `${mark}${FILES[file - 1]}${RANKS[rank - 1]}${piece}${last.from === null ? '打' : ''}`;
    }
}
