#include "data/datasource.h"

#include "data/adoquery.h"

namespace data {

TDataSource::TDataSource(QString name, TADOQuery* dataSet) : name_(std::move(name)) {
    setDataSet(dataSet);
}

TDataSource::~TDataSource() {
    forEachLink([this](DataLink* l) { l->dataSourceDestroyed(this); });
    links_.clear();
    if (dataSet_)
        dataSet_->detach(this);
}

void TDataSource::setDataSet(TADOQuery* dataSet) {
    if (dataSet_ == dataSet)
        return;
    if (dataSet_)
        dataSet_->detach(this);
    dataSet_ = dataSet;
    if (dataSet_)
        dataSet_->attach(this);
    forEachLink([](DataLink* l) { l->activeChanged(); });
}

DataSetState TDataSource::state() const {
    return dataSet_ ? dataSet_->state() : DataSetState::Inactive;
}

bool TDataSource::edit() {
    switch (state()) {
    case DataSetState::Edit:
    case DataSetState::Insert:
        return true;
    case DataSetState::Browse:
        if (!autoEdit || !enabled)
            return false;
        dataSet_->edit();
        return dataSet_->state() == DataSetState::Edit || dataSet_->state() == DataSetState::Insert;
    case DataSetState::Inactive:
        return false;
    }
    return false;
}

void TDataSource::addLink(DataLink* link) {
    if (std::find(links_.begin(), links_.end(), link) == links_.end())
        links_.push_back(link);
}

void TDataSource::removeLink(DataLink* link) {
    links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

} // namespace data
