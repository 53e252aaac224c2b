#include "shogirules/hand.h"

namespace shogi {

HandEntry* Hand::find(Kind code) {
    for (auto& e : entries) {
        if (e.code == code) return &e;
    }
    return nullptr;
}

const HandEntry* Hand::find(Kind code) const {
    return const_cast<Hand*>(this)->find(code);
}

qint32 Hand::count(Kind code) const {
    const HandEntry* e = find(code);
    return e ? e->count : 0;
}

void Hand::clear() {
    for (auto& e : entries)
        e.count = 0;
}

}  // namespace shogi
