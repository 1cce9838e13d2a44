#pragma once

#include <QString>
#include <algorithm>
#include <vector>

namespace data {

class TADOQuery;
class TField;
class TDataSource;

enum class DataSetState { Inactive, Browse, Edit, Insert };

// What a bound control, a grid or a lookup list hears from its data source. Plain calls within
// the event that changed the record set; an exception thrown by updateData() travels back
// through the post or settle that asked and stops it.
class DataLink {
public:
    virtual ~DataLink() = default;
    // The record set was opened or closed (everything is new: rows, current row, state).
    virtual void activeChanged() {}
    // The rows changed (append, post, cancel, delete) or the state changed with them.
    virtual void dataSetChanged() {}
    // Only the current row moved; the rows are the same.
    virtual void dataSetScrolled() {}
    // The state changed between browse, edit and insert.
    virtual void stateChanged() {}
    // One column of the current row was written.
    virtual void recordChanged(TField* /*field*/) {}
    // Write your changed text into your column now (before a post or a settle).
    virtual void updateData() {}
    // The data source is being destroyed: forget it (a control may outlive the window that
    // owns its data source).
    virtual void dataSourceDestroyed(TDataSource* /*source*/) {}
};

// Ties one record set to the controls that show it, on whatever window they are.
class TDataSource {
public:
    explicit TDataSource(QString name, TADOQuery* dataSet = nullptr);
    ~TDataSource();
    TDataSource(const TDataSource&) = delete;
    TDataSource& operator=(const TDataSource&) = delete;

    const QString& name() const { return name_; }
    TADOQuery* dataSet() const { return dataSet_; }
    void setDataSet(TADOQuery* dataSet);

    bool autoEdit = true;
    bool enabled = true;

    // The record set's state; closed when there is none.
    DataSetState state() const;

    // Auto-edit before a control changes its column: in browse the record set starts editing
    // its current row; in edit or insert nothing is needed. False when the change must be
    // refused (closed, no record set, auto-edit off in browse).
    bool edit();

    void addLink(DataLink* link);
    void removeLink(DataLink* link);
    const std::vector<DataLink*>& links() const { return links_; }

    // Passing on the record set's events (called by the record set).
    template <typename F> void forEachLink(F&& f) {
        const std::vector<DataLink*> copy = links_; // a link may unlink itself meanwhile
        for (DataLink* link : copy)
            if (std::find(links_.begin(), links_.end(), link) != links_.end())
                f(link);
    }

private:
    QString name_;
    TADOQuery* dataSet_ = nullptr;
    std::vector<DataLink*> links_;
};

} // namespace data
