#include "mainwindow/ShownStock.h"

#include <cstdlib>

namespace orvane::app {

void ShownStock::set(State state, std::string code, std::string name,
                     std::optional<StockRecord> record, std::string failure) {
    state_ = state;
    code_ = std::move(code);
    name_ = std::move(name);
    record_ = std::move(record);
    view_.reset();
    if (record_) view_ = makeVerdictView(*record_, std::rand());
    failure_ = std::move(failure);
    Q_EMIT changed();
}

void ShownStock::clear() {
    if (state_ == State::None) return;
    set(State::None, {}, {}, std::nullopt, {});
}

void ShownStock::choose(const std::string& code, const std::string& name) {
    if (code.empty()) return clear();
    if (code == code_ && state_ != State::None && state_ != State::Failed) return;
    set(State::Named, code, name, std::nullopt, {});
}

void ShownStock::fetching(const std::string& code, const std::string& name) {
    set(State::Fetching, code, name, std::nullopt, {});
}

void ShownStock::show(const std::string& name, StockRecord record) {
    std::string code = record.code;
    set(State::Shown, std::move(code), name, std::move(record), {});
}

void ShownStock::fail(const std::string& code, const std::string& reason) {
    if (code != code_) return;
    set(State::Failed, code, name_, std::nullopt, reason);
}

void ShownStock::setName(const std::string& name) {
    if (state_ == State::None || name == name_) return;
    name_ = name;
    Q_EMIT changed();
}

}  // namespace orvane::app
