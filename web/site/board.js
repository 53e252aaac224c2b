// The board of either game, for the pages that show one: the shogi or the go
// board, each with the same three calls (setPlayers, show, describeLast).
import { ShogiBoard } from './shogiboard.js';
import { GoBoard } from './goboard.js';

export function createBoard(kind, container) {
    return kind === 'go' ? new GoBoard(container) : new ShogiBoard(container);
}
