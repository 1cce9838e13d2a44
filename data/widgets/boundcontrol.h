#pragma once

#include <QString>

namespace data {

class TDataSource;

// What every bound control offers the windows that hold it: the data source and column it is
// bound to, and the text it holds now as the entry checks read it (empty: nothing entered).
class BoundControl {
public:
    virtual void setDataSource(TDataSource* source) = 0;
    virtual void setDataField(const QString& name) = 0;
    virtual QString entryText() const = 0;

protected:
    ~BoundControl() = default;
};

} // namespace data
