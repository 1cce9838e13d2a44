#include "data/adoquery.h"

#include "data/connection.h"
#include "platform/errors.h"

#include <algorithm>
#include <string_view>

namespace data {

using platform::Error;

TADOQuery::TADOQuery(QString name, const TableDef& table, const QString& sql)
    : name_(std::move(name)), table_(table), rows_(static_cast<int>(table.columns.size())) {
    if (!sql.isEmpty())
        sql_ << sql;
    for (int i = 0; i < static_cast<int>(table.columns.size()); ++i)
        fields_.push_back(std::make_unique<TField>(*this, table.columns[i], i));
}

TADOQuery::~TADOQuery() {
    // Linked data sources outlive nothing of ours: cut them loose first.
    for (TDataSource* s : std::vector<TDataSource*>(sources_))
        s->setDataSet(nullptr);
}

Error TADOQuery::error(const QString& message) const {
    return Error(name_ + QStringLiteral(": ") + message);
}

void TADOQuery::checkActive() const {
    if (state_ == DataSetState::Inactive)
        throw error(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

QString TADOQuery::statement() const {
    QString s;
    for (const QString& line : sql_)
        s += line + QStringLiteral("\r\n");
    return s;
}

void TADOQuery::clearSql() {
    close();
    sql_.clear();
}

void TADOQuery::addSql(const QString& line) {
    close();
    sql_ << line;
}

void TADOQuery::setConnectionString(const QString& cs) {
    if (cs == connectionString_)
        return;
    if (active())
        throw error(QStringLiteral("Cannot perform this operation on an open dataset"));
    connectionString_ = cs;
    connection_.reset();
}

Connection& TADOQuery::connection() {
    if (!connection_) {
        if (connectionString_.isEmpty())
            throw Error(QStringLiteral("Missing Connection or ConnectionString"));
        connection_ = std::make_unique<Connection>(connectionString_);
    }
    return *connection_;
}

void TADOQuery::enterState(DataSetState state, std::vector<Value> pending) {
    const DataSetState before = state_;
    state_ = state;
    pending_ = std::move(pending);
    assigned_.clear();
    modified_ = false;
    // Opening and closing are told as such (activeChanged), by the caller.
    if (before != state && before != DataSetState::Inactive && state != DataSetState::Inactive)
        notify([](DataLink* l) { l->stateChanged(); });
}

void TADOQuery::open() {
    if (active())
        return;
    RowStore rows(static_cast<int>(table_.columns.size()));
    connection().query(statement(), table_, rows);
    rows_ = std::move(rows);
    current_ = rows_.rowCount() > 0 ? 0 : -1;
    enterState(DataSetState::Browse);
    notify([](DataLink* l) { l->activeChanged(); });
}

void TADOQuery::close() {
    if (!active())
        return;
    enterState(DataSetState::Inactive);
    rows_.clear();
    current_ = -1;
    notify([](DataLink* l) { l->activeChanged(); });
}

void TADOQuery::execSQL() {
    connection().execute(statement());
}

void TADOQuery::updateData() {
    notify([](DataLink* l) { l->updateData(); });
}

void TADOQuery::append() {
    checkActive();
    settle();
    current_ = rows_.rowCount();
    enterState(DataSetState::Insert, std::vector<Value>(fields_.size()));
    notify([](DataLink* l) { l->dataSetChanged(); });
}

void TADOQuery::edit() {
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        return;
    checkActive();
    if (recordCount() == 0) {
        append();
        return;
    }
    std::vector<Value> stored;
    for (int c = 0; c < fieldCount(); ++c)
        stored.push_back(rows_.value(current_, c, table_.columns[c].kind));
    enterState(DataSetState::Edit, std::move(stored));
}

void TADOQuery::post() {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        throw error(QStringLiteral("Dataset not in edit or insert mode"));
    updateData();

    std::vector<int> columns = assigned_;
    std::sort(columns.begin(), columns.end());
    std::vector<Value> values;
    for (const int c : columns)
        values.push_back(pending_[c]);

    // One statement writes the row and gives it back as stored: when it throws, nothing was
    // stored and the pending row stays as it is; when it returns, the row is in the file and
    // nothing below can fail.
    RowStore stored(static_cast<int>(table_.columns.size()));
    if (state_ == DataSetState::Insert) {
        connection().insertRow(table_, columns, values, stored);
        rows_.appendRow(stored, 0);
        current_ = rows_.rowCount() - 1;
    } else {
        connection().updateRow(table_, rows_, current_, columns, values, stored);
        rows_.replaceRow(current_, stored, 0);
    }
    enterState(DataSetState::Browse);
    notify([](DataLink* l) { l->dataSetChanged(); });
}

void TADOQuery::cancel() {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    if (state_ == DataSetState::Insert)
        current_ = rows_.rowCount() - 1;
    enterState(DataSetState::Browse);
    notify([](DataLink* l) { l->dataSetChanged(); });
}

void TADOQuery::deleteRecord() {
    checkActive();
    if (state_ == DataSetState::Insert) {
        cancel();
        return;
    }
    if (recordCount() == 0)
        throw error(QStringLiteral("Cannot perform this operation on an empty dataset"));
    connection().deleteRow(table_, rows_, current_);
    rows_.removeRow(current_);
    if (current_ >= rows_.rowCount())
        current_ = rows_.rowCount() - 1;
    enterState(DataSetState::Browse);
    notify([](DataLink* l) { l->dataSetChanged(); });
}

void TADOQuery::settle() {
    checkActive();
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    updateData();
    if (modified_)
        post();
    else
        cancel();
}

void TADOQuery::moveTo(int row) {
    checkActive();
    settle();
    const int count = rows_.rowCount();
    if (count == 0)
        return;
    row = std::clamp(row, 0, count - 1);
    if (row == current_)
        return;
    current_ = row;
    notify([](DataLink* l) { l->dataSetScrolled(); });
}

void TADOQuery::first() {
    moveTo(0);
}

void TADOQuery::last() {
    checkActive();
    settle();
    moveTo(rows_.rowCount() - 1);
}

void TADOQuery::moveBy(int distance) {
    checkActive();
    settle();
    moveTo(current_ + distance);
}

void TADOQuery::next() {
    moveBy(1);
}
void TADOQuery::prior() {
    moveBy(-1);
}

bool TADOQuery::locate(const TField& field, const Value& value) {
    checkActive();
    settle();
    const int column = field.index();
    const Kind kind = table_.columns[column].kind;
    // A text is looked for by its UTF-8 bytes, as the rows keep it: reading every row into a
    // QString first costs many times the compare. The bytes decide wherever the decoding of a
    // row can give the text only from those very bytes: the text has no replacement character
    // and survives the round trip, and the row is stored as text without a leading byte-order
    // mark (which decoding drops). Every other row is compared as a value.
    const QString text = value.toText();
    const QByteArray utf8 = text.toUtf8();
    const bool byBytes = value.isText() && kind == Kind::WideString &&
                         !text.contains(QChar::ReplacementCharacter) &&
                         QString::fromUtf8(utf8) == text;
    const std::string_view wanted(utf8.constData(), static_cast<size_t>(utf8.size()));
    for (int row = 0; row < rows_.rowCount(); ++row) {
        if (byBytes) {
            const RowStore::Cell cell = rows_.cell(row, column);
            if (cell.storage == RowStore::Storage::Text &&
                !cell.bytes.starts_with("\xEF\xBB\xBF")) {
                if (cell.bytes == wanted) {
                    moveTo(row);
                    return true;
                }
                continue;
            }
        }
        if (rows_.value(row, column, kind) == value) {
            moveTo(row);
            return true;
        }
    }
    return false;
}

int TADOQuery::recordCount() const {
    return rows_.rowCount() + (state_ == DataSetState::Insert ? 1 : 0);
}

TField* TADOQuery::findField(QStringView name) {
    for (auto& f : fields_)
        if (name.compare(f->fieldName(), Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TField& TADOQuery::fieldByName(QStringView name) {
    if (TField* f = findField(name))
        return *f;
    throw error(QStringLiteral("Field '%1' not found").arg(name.toString()));
}

Value TADOQuery::value(int row, int column) const {
    if (row < 0 || column < 0 || column >= fieldCount())
        return Value();
    if ((state_ == DataSetState::Edit || state_ == DataSetState::Insert) && row == current_)
        return pending_[column];
    if (row >= rows_.rowCount())
        return Value();
    return rows_.value(row, column, table_.columns[column].kind);
}

void TADOQuery::writeField(const TField& field, const Value& value) {
    if (field.readOnly())
        throw Error(QStringLiteral("Field '%1' cannot be modified").arg(field.fieldName()));
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        throw error(QStringLiteral("Dataset not in edit or insert mode"));
    pending_[field.index()] = value;
    if (std::find(assigned_.begin(), assigned_.end(), field.index()) == assigned_.end())
        assigned_.push_back(field.index());
    modified_ = true;
    TField* f = fields_[field.index()].get();
    notify([f](DataLink* l) { l->recordChanged(f); });
}

void TADOQuery::attach(TDataSource* source) {
    if (std::find(sources_.begin(), sources_.end(), source) == sources_.end())
        sources_.push_back(source);
}

void TADOQuery::detach(TDataSource* source) {
    sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

} // namespace data
