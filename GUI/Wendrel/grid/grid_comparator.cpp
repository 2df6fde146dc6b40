#include "grid/grid_comparator.h"

TRowComparator::~TRowComparator() = default;
TTrivialRowComparator::~TTrivialRowComparator() = default;
TRowComparatorOnVector::~TRowComparatorOnVector() = default;

bool TMultiComparator::Less(int a, int b) {
    for (TRowComparator* c : m_list) {
        if (c->Less(a, b)) return true;
        if (c->Less(b, a)) return false;
    }
    return false;
}

bool TMultiComparator::Equal(int a, int b) {
    for (TRowComparator* c : m_list)
        if (!c->Equal(a, b)) return false;
    return true;
}

bool TMultiComparator::CanCompare() const {
    for (TRowComparator* c : m_list)
        if (!c || !c->CanCompare()) return false;
    return true;
}

bool TOrderComporator::Less(int a, int b) {
    if (!m_wrapped) return false;
    return m_ascending ? m_wrapped->Less(a, b) : m_wrapped->Less(b, a);
}

bool TOrderComporator::Equal(int a, int b) { return m_wrapped ? m_wrapped->Equal(a, b) : true; }
