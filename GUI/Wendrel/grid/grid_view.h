// The grid view interface every view and decorator of a chain implements,
// its change-event source, and the two base implementations: a view without
// data (CDefGridViewImpl) and a decorator that forwards to the view it wraps
// (CDefGridDecoratorImpl).
//
// Ownership: a decorator owns the view it was constructed with (an owning
// holder: copying a decorator moves the ownership to the copy). A view never
// owns its subscribers. Column objects from CreateColumn and comparators
// handed to Sort belong to the caller. Views are used on the GUI thread
// only; events are fired synchronously.
#pragma once

#include <bitset>
#include <list>
#include <vector>

#include "afxwin.h"
#include "grid/grid_geometry.h"
#include "grid/grid_hierarchy.h"
#include "grid/grid_owner.h"
#include "wendrel_export.h"

class GRID_DEVICE;
class TGridColumn;
class TRowComparator;

// Saved filters: per column of the filtered view, the texts it filters out.
typedef std::vector<std::list<CString>> FILTER_SAVE;

// Enabled tools of a grid window: one bit per GRID_TOOL_ID.
typedef std::bitset<8> GRID_TOOL_SET;

// The "invalid bitset<N> position" error of the grid's bit sets.
[[noreturn]] WENDREL_API void ThrowBitsetPosition();

// Makes a column object for a column of a view.
class TColumnFactory {
public:
    virtual TGridColumn* CreateColumn(int column) = 0;

protected:
    ~TColumnFactory() = default;
};

namespace tzm {

// Subscribers of a source's events, in subscription order; copied with the source.
template <class Sink>
class TEventSource {
public:
    // A sink subscribed twice is called twice.
    void Advise(Sink* sink) { m_sinks.push_back(sink); }
    // Removes the first entry equal to the sink; a sink not there is ignored.
    void Unadvise(Sink* sink) {
        for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it)
            if (*it == sink) {
                m_sinks.erase(it);
                return;
            }
    }
    const std::vector<Sink*>& GetSinks() const { return m_sinks; }

protected:
    std::vector<Sink*> m_sinks;
};

}  // namespace tzm

// A subscriber of a view's change events (the grid window).
class CDefGridViewSink {
public:
    // range null: any part of the view may have changed.
    virtual void OnChange(const CELL_RANGE* range) = 0;

protected:
    ~CDefGridViewSink() = default;
};

// What a grid window offers the chain it shows.
class IGridSettings {
protected:
    ~IGridSettings() = default;
};

class IGridViewSite : public IGridSettings {
public:
    virtual const GRID_TOOL_SET& GetEnabledTools() const = 0;

protected:
    ~IGridViewSite() = default;
};

// Capability bits of a view.
enum GRID_CAPABILITY {
    CAP_ROW_DATA = 0,       // rows carry data the grid window copies into its layout
    CAP_SORTABLE = 1,       // the view may be sorted
    CAP_VALUE_ROWS = 2,     // its rows are value rows of the filters
    CAP_SELF_FILTER = 3,    // (node data 8) not a capability
    CAP_TOP_LEVEL = 4,      // (node data 0x10) not a capability
    CAP_NATURAL_ORDER = 5,  // the unsorted order is allowed
};

class WENDREL_API CDefGridView : public TColumnFactory, public tzm::TEventSource<CDefGridViewSink> {
public:
    CDefGridView() = default;
    CDefGridView(const CDefGridView&) = default;
    CDefGridView& operator=(const CDefGridView&) = default;
    virtual ~CDefGridView();

    virtual void SetSite(IGridViewSite*) {}
    virtual IGridViewSite* GetSite() { return nullptr; }
    // (columns, rows).
    virtual CELL_COORD GetSize() const = 0;
    // The view that holds the data rows.
    virtual CDefGridView* GetActiveView() { return this; }
    // The range the active view occupies in this view's coordinates.
    virtual void GetActiveRange(CELL_RANGE& range) const = 0;
    virtual int GetID() = 0;
    // True when the rows were reordered.
    virtual bool Sort(int column, TRowComparator* comparator) = 0;
    // The new value of the bit; positions above 5 throw std::out_of_range.
    virtual bool SetCapability(int bit, bool on) = 0;
    virtual bool CapableOf(int bit) const = 0;
    virtual long GetRowData(int) { return 0; }
    virtual FILTER_SAVE SaveFilter() { return FILTER_SAVE(); }
    virtual void LoadFilter(FILTER_SAVE) {}
    virtual void SetRowData(int, long) {}
    // Renders the cells of info's range into the pass.
    virtual void Draw(GRID_DEVICE& device, const CELL_INFO& info) = 0;
    // Enters this view's rows into a row tree.
    virtual void BuildHierarchy(TGridHierarchyBuilder& builder, bool tree) = 0;
    // store: writes *it into each data row's index slot; else reads them to
    // it. One step per row, in display order; returns the advanced iterator.
    virtual std::vector<int>::iterator IndexRows(bool store, std::vector<int>::iterator it) = 0;
    // The view this one is attached to.
    virtual void DockTo(CDefGridView* view) = 0;

    // Tells every subscriber, in order, that anything may have changed.
    void FireOnChange();
};

// A view without data: size (0, 0), capabilities 0x26.
class WENDREL_API CDefGridViewImpl : public CDefGridView {
public:
    CDefGridViewImpl();

    TGridColumn* CreateColumn(int column) override;
    CELL_COORD GetSize() const override { return CELL_COORD(0, 0); }
    void GetActiveRange(CELL_RANGE& range) const override;
    int GetID() override { return GRID_UNSET; }
    bool Sort(int, TRowComparator*) override { return false; }
    bool SetCapability(int bit, bool on) override;
    bool CapableOf(int bit) const override;
    void Draw(GRID_DEVICE&, const CELL_INFO&) override {}
    // Enters rows 0 to rows-1 under the builder's current parent.
    void BuildHierarchy(TGridHierarchyBuilder& builder, bool tree) override;
    std::vector<int>::iterator IndexRows(bool, std::vector<int>::iterator it) override { return it; }
    void DockTo(CDefGridView*) override {}

    // The capability word (bits 0 to 5), the data of the nodes it enters.
    int GetCapabilityWord() const { return int(m_caps.to_ulong()); }

protected:
    std::bitset<6> m_caps;
};

// Forwards to the view it wraps, which it owns when constructed with it.
// Draw stays pure: each decorator draws itself. A decorator with a null
// inner view must not be asked anything that it forwards.
class WENDREL_API CDefGridDecoratorImpl : public CDefGridView {
public:
    explicit CDefGridDecoratorImpl(CDefGridView* inner) : m_view(inner) {}
    // The copy takes the inner view and its ownership; the source keeps the
    // pointer but no longer deletes it.
    CDefGridDecoratorImpl(const CDefGridDecoratorImpl&) = default;
    CDefGridDecoratorImpl& operator=(const CDefGridDecoratorImpl&) = default;
    ~CDefGridDecoratorImpl() override;

    TGridColumn* CreateColumn(int column) override { return m_view->CreateColumn(column); }
    CELL_COORD GetSize() const override { return m_view->GetSize(); }
    CDefGridView* GetActiveView() override { return m_view->GetActiveView(); }
    void GetActiveRange(CELL_RANGE& range) const override { m_view->GetActiveRange(range); }
    int GetID() override { return m_view->GetID(); }
    bool Sort(int column, TRowComparator* comparator) override { return m_view->Sort(column, comparator); }
    bool SetCapability(int bit, bool on) override { return m_view->SetCapability(bit, on); }
    bool CapableOf(int bit) const override { return m_view->CapableOf(bit); }
    void BuildHierarchy(TGridHierarchyBuilder& builder, bool tree) override { m_view->BuildHierarchy(builder, tree); }
    std::vector<int>::iterator IndexRows(bool store, std::vector<int>::iterator it) override {
        return m_view->IndexRows(store, it);
    }
    void DockTo(CDefGridView* view) override { m_view->DockTo(view); }

    CDefGridView* GetInnerView() const { return m_view.Get(); }
    bool OwnsInnerView() const { return m_view.IsOwned(); }

protected:
    TOwnPtr<CDefGridView> m_view;
};
