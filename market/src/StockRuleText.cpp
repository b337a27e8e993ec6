// The rule's text: the reader, which names the place of the first fault, and
// the writer, whose text the reader reads back to the same rule.

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "orvane/market/StockRule.h"

namespace orvane {

namespace {

enum class Token : std::uint8_t { Word, Number, Text, Operator, Open, Close, Comma, End, Bad };

struct Lexeme {
    Token token = Token::End;
    std::string_view text;  // a word in lower case is compared through lowered()
    std::size_t offset = 0;
};

struct FieldName {
    std::string_view name;
    RuleField field;
};

constexpr std::array<FieldName, 13> kFields{{{"trend", RuleField::Trend},
                                             {"score", RuleField::Score},
                                             {"modelb", RuleField::ModelB},
                                             {"buya", RuleField::BuyA},
                                             {"buyb", RuleField::BuyB},
                                             {"gain5", RuleField::Gain5},
                                             {"gain10", RuleField::Gain10},
                                             {"change", RuleField::Change},
                                             {"close", RuleField::Close},
                                             {"st", RuleField::St},
                                             {"limitup", RuleField::LimitUp},
                                             {"sector", RuleField::Sector},
                                             {"board", RuleField::Board}}};

constexpr std::array<std::int32_t, 7> kTrendCodes{-1, 0, 1, 2, 3, 1000, 1001};

struct Range {
    double low, high;
};

Range rangeOf(RuleField field) {
    switch (field) {
        case RuleField::Score:
            return {-1000, 1000};
        case RuleField::Gain5:
        case RuleField::Gain10:
            return {-100, 10000};
        case RuleField::Change:
            return {-100, 100};
        default:
            return {0, 100000};
    }
}

bool isFlag(RuleField f) {
    return f == RuleField::ModelB || f == RuleField::BuyA || f == RuleField::BuyB ||
           f == RuleField::St || f == RuleField::LimitUp;
}

bool isList(RuleField f) {
    return f == RuleField::Trend || f == RuleField::Sector || f == RuleField::Board;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isWordStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool isWordChar(char c) {
    return isWordStart(c) || isDigit(c);
}

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Characters of UTF-8 text before `offset`, plus one.
std::size_t columnOf(std::string_view text, std::size_t offset) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        column += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    return column;
}

class Lexer {
  public:
    explicit Lexer(std::string_view text) : text_(text) {}

    Lexeme next() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\n' || text_[pos_] == '\r'))
            ++pos_;
        const std::size_t start = pos_;
        if (pos_ >= text_.size()) return {Token::End, {}, start};
        const char c = text_[pos_];
        auto take = [&](Token t, std::size_t length) {
            pos_ += length;
            return Lexeme{t, text_.substr(start, length), start};
        };
        if (isWordStart(c)) {
            std::size_t end = pos_;
            while (end < text_.size() && isWordChar(text_[end])) ++end;
            return take(Token::Word, end - pos_);
        }
        const bool signedNumber =
            (c == '-' || c == '+') && pos_ + 1 < text_.size() && isDigit(text_[pos_ + 1]);
        if (isDigit(c) || signedNumber) {
            std::size_t end = pos_ + 1;
            while (end < text_.size() && isDigit(text_[end])) ++end;
            if (end + 1 < text_.size() && text_[end] == '.' && isDigit(text_[end + 1])) {
                ++end;
                while (end < text_.size() && isDigit(text_[end])) ++end;
            }
            return take(Token::Number, end - pos_);
        }
        if (c == '"') {
            const std::size_t close = text_.find('"', pos_ + 1);
            if (close == std::string_view::npos) return take(Token::Bad, 1);
            return take(Token::Text, close + 1 - pos_);
        }
        if (c == '(') return take(Token::Open, 1);
        if (c == ')') return take(Token::Close, 1);
        if (c == ',') return take(Token::Comma, 1);
        for (std::string_view op : {">=", "<=", "==", "\u2265", "\u2264", ">", "<", "="})
            if (text_.substr(pos_).starts_with(op)) return take(Token::Operator, op.size());
        // One whole character, however many bytes it takes.
        std::size_t end = pos_ + 1;
        while (end < text_.size() && (static_cast<unsigned char>(text_[end]) & 0xC0) == 0x80) ++end;
        return take(Token::Bad, end - pos_);
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

struct Fault {
    std::size_t offset;
    std::string message;
};

std::string quoted(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

std::string shown(const Lexeme& l) {
    switch (l.token) {
        case Token::End:
            return "the end of the rule";
        case Token::Text:
            return std::string(l.text);
        default:
            return quoted(l.text);
    }
}

std::string fieldList() {
    std::string out;
    for (const FieldName& f : kFields) out += (out.empty() ? "" : ", ") + std::string(f.name);
    return out;
}

std::string trendCodeList() {
    std::string out;
    for (std::int32_t c : kTrendCodes) out += (out.empty() ? "" : ", ") + std::to_string(c);
    return out;
}

std::optional<Comparison> comparisonOf(std::string_view op) {
    if (op == ">=" || op == "\u2265") return Comparison::GreaterOrEqual;
    if (op == "<=" || op == "\u2264") return Comparison::LessOrEqual;
    if (op == ">") return Comparison::Greater;
    if (op == "<") return Comparison::Less;
    return std::nullopt;
}

bool isEquals(const Lexeme& l) {
    return l.token == Token::Operator && (l.text == "=" || l.text == "==");
}

class Parser {
  public:
    explicit Parser(std::string_view text) : lexer_(text) { advance(); }

    StockRule rule() {
        StockRule rule;
        if (at_.token == Token::End)
            throw Fault{at_.offset, "the rule is empty: write a condition such as score >= 150"};
        for (;;) {
            rule.conditions.push_back(condition());
            if (at_.token == Token::End) return rule;
            const std::string word = lowered(at_.text);
            if (at_.token == Token::Word && word == "and") {
                advance();
                if (at_.token == Token::End)
                    throw Fault{at_.offset, "a condition must follow \"and\""};
                continue;
            }
            if (at_.token == Token::Word && word == "or")
                throw Fault{at_.offset,
                            "conditions are joined by \"and\" only; for any of several trend "
                            "codes write trend in (1001, 1000)"};
            throw Fault{at_.offset, "expected \"and\" or the end of the rule, found " + shown(at_)};
        }
    }

  private:
    void advance() {
        at_ = lexer_.next();
        if (at_.token == Token::Bad)
            throw Fault{at_.offset, at_.text == "\"" ? "a sector name without its closing \""
                                                     : "unexpected " + quoted(at_.text)};
    }

    RuleCondition condition() {
        RuleCondition c;
        const Lexeme notWord = at_;
        if (at_.token == Token::Word && lowered(at_.text) == "not") {
            c.negated = true;
            advance();
        }
        if (at_.token != Token::Word)
            throw Fault{at_.offset, "expected a field (" + fieldList() + "), found " + shown(at_)};
        const std::string name = lowered(at_.text);
        const auto* f = std::find_if(kFields.begin(), kFields.end(),
                                     [&](const FieldName& x) { return x.name == name; });
        if (f == kFields.end())
            throw Fault{at_.offset,
                        "unknown field " + quoted(at_.text) + ": the fields are " + fieldList()};
        c.field = f->field;
        const Lexeme field = at_;
        advance();
        if (isFlag(c.field)) {
            if (at_.token == Token::Operator || at_.token == Token::Number ||
                (at_.token == Token::Word && lowered(at_.text) == "in"))
                throw Fault{at_.offset, std::string(f->name) + " is a yes-or-no field: write " +
                                            std::string(f->name) + " or not " +
                                            std::string(f->name) + ", without " + shown(at_)};
            return c;
        }
        if (isList(c.field)) {
            list(c, *f);
            return c;
        }
        if (c.negated)
            throw Fault{notWord.offset,
                        "\"not\" cannot turn round a comparison: turn its "
                        "operator round instead (" +
                            std::string(f->name) + " < 20 for not " + std::string(f->name) +
                            " >= 20)"};
        const std::optional<Comparison> op =
            at_.token == Token::Operator ? comparisonOf(at_.text) : std::nullopt;
        if (!op)
            throw Fault{at_.offset, std::string(f->name) +
                                        " is compared with >=, <=, > or <, not " + shown(at_)};
        c.comparison = *op;
        advance();
        c.number = number(field, rangeOf(c.field));
        return c;
    }

    void list(RuleCondition& c, const FieldName& f) {
        const bool in = at_.token == Token::Word && lowered(at_.text) == "in";
        if (!in && !isEquals(at_))
            throw Fault{at_.offset,
                        std::string(f.name) + " takes \"in (...)\" or \"=\", not " + shown(at_)};
        advance();
        if (!in) {
            item(c);
            return;
        }
        if (at_.token != Token::Open) throw Fault{at_.offset, "expected ( after in"};
        advance();
        for (;;) {
            item(c);
            if (at_.token == Token::Close) {
                advance();
                return;
            }
            if (at_.token != Token::Comma)
                throw Fault{at_.offset, "expected , or ) in the list, found " + shown(at_)};
            advance();
        }
    }

    void item(RuleCondition& c) {
        switch (c.field) {
            case RuleField::Trend: {
                const Lexeme at = at_;
                const double code = number(at_, {-1, 1001});
                const auto* known = std::find(kTrendCodes.begin(), kTrendCodes.end(), code);
                if (known == kTrendCodes.end())
                    throw Fault{at.offset, "no trend code " + std::string(at.text) +
                                               ": the codes are " + trendCodeList()};
                c.trends.push_back(*known);
                return;
            }
            case RuleField::Sector:
                if (at_.token != Token::Text || at_.text.size() < 3)
                    throw Fault{at_.offset,
                                "expected a sector name in double quotes, found " + shown(at_)};
                c.sectors.emplace_back(at_.text.substr(1, at_.text.size() - 2));
                advance();
                return;
            default: {
                const std::string word = at_.token == Token::Word ? lowered(at_.text) : "";
                if (word == "main")
                    c.boards.push_back(Board::Main);
                else if (word == "chinext")
                    c.boards.push_back(Board::ChiNext);
                else if (word == "star")
                    c.boards.push_back(Board::Star);
                else
                    throw Fault{at_.offset,
                                "expected a board (main, chinext or star), found " + shown(at_)};
                advance();
            }
        }
    }

    double number(const Lexeme& field, Range range) {
        if (at_.token != Token::Number)
            throw Fault{at_.offset, "expected a number, found " + shown(at_)};
        double value = 0;
        std::string_view digits = at_.text;
        if (digits.starts_with('+')) digits.remove_prefix(1);
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (ec != std::errc() || end != digits.data() + digits.size() || value < range.low ||
            value > range.high) {
            throw Fault{at_.offset, std::string(at_.text) + " is out of range for " +
                                        lowered(field.text) + ": " + numberText(range.low) +
                                        " to " + numberText(range.high)};
        }
        advance();
        return value;
    }

  public:
    static std::string numberText(double v) {
        char buf[40];
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
        return ec == std::errc() ? std::string(buf, end) : std::string("0");
    }

  private:
    Lexer lexer_;
    Lexeme at_;
};

std::string_view comparisonText(Comparison c) {
    switch (c) {
        case Comparison::Less:
            return "<";
        case Comparison::LessOrEqual:
            return "<=";
        case Comparison::Greater:
            return ">";
        case Comparison::GreaterOrEqual:
            return ">=";
    }
    return ">=";
}

std::string_view boardText(Board b) {
    switch (b) {
        case Board::Main:
            return "main";
        case Board::ChiNext:
            return "chinext";
        case Board::Star:
            return "star";
    }
    return "main";
}

}  // namespace

std::string RuleError::text() const {
    return "column " + std::to_string(column) + ": " + message;
}

std::variant<StockRule, RuleError> parseStockRule(std::string_view text) {
    try {
        return Parser(text).rule();
    } catch (const Fault& fault) {
        return RuleError{columnOf(text, fault.offset), fault.message};
    }
}

std::string_view ruleFieldName(RuleField field) {
    for (const FieldName& f : kFields)
        if (f.field == field) return f.name;
    return {};
}

std::string stockRuleText(const StockRule& rule) {
    std::string out;
    for (const RuleCondition& c : rule.conditions) {
        if (!out.empty()) out += " and ";
        if (c.negated) out += "not ";
        out += ruleFieldName(c.field);
        if (isFlag(c.field)) continue;
        if (!isList(c.field)) {
            out.append(" ").append(comparisonText(c.comparison)).append(" ");
            out += Parser::numberText(c.number);
            continue;
        }
        std::string items;
        for (std::int32_t t : c.trends) items += (items.empty() ? "" : ", ") + std::to_string(t);
        for (const std::string& s : c.sectors) items += (items.empty() ? "" : ", ") + quoted(s);
        for (Board b : c.boards) items += (items.empty() ? "" : ", ") + std::string(boardText(b));
        out += " in (" + items + ")";
    }
    return out;
}

}  // namespace orvane
