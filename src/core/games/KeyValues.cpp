#include "core/games/KeyValues.h"

#include <QSet>
#include <QString>

#include <limits>

namespace vestimo::core::games {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

struct Token {
    enum Kind { End, Open, Close, Text } kind = End;
    QByteArray text;
    bool quoted = false;
};

// A conditional such as [$WIN32] after a value or before a block.
bool isCondition(const Token& token) {
    return token.kind == Token::Text && !token.quoted && token.text.startsWith('[');
}

class Tokenizer {
public:
    explicit Tokenizer(QByteArrayView text) : text_(text) {}

    Token next() {
        skipSpaceAndComments();
        Token token;
        if (at_ >= text_.size()) {
            return token;
        }
        const char c = text_[at_];
        if (c == '{' || c == '}') {
            ++at_;
            token.kind = c == '{' ? Token::Open : Token::Close;
            return token;
        }
        token.kind = Token::Text;
        if (c == '"') {
            token.quoted = true;
            ++at_;
            readQuoted(token.text);
        } else {
            // A bare word runs to the next space, brace or quote.
            while (at_ < text_.size() && !isSpace(text_[at_]) && text_[at_] != '{' && text_[at_] != '}' &&
                   text_[at_] != '"') {
                token.text.append(text_[at_++]);
            }
        }
        return token;
    }

    // The next token that is not a condition.
    Token nextPastConditions() {
        Token token = next();
        while (isCondition(token)) {
            token = next();
        }
        return token;
    }

private:
    void skipSpaceAndComments() {
        while (at_ < text_.size()) {
            if (isSpace(text_[at_])) {
                ++at_;
            } else if (text_[at_] == '/' && at_ + 1 < text_.size() && text_[at_ + 1] == '/') {
                while (at_ < text_.size() && text_[at_] != '\n') {
                    ++at_;
                }
            } else {
                return;
            }
        }
    }

    // An unclosed string runs to the end of the text.
    void readQuoted(QByteArray& out) {
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') {
                return;
            }
            if (c == '\\' && at_ < text_.size()) {
                const char escaped = text_[at_++];
                switch (escaped) {
                case 'n':
                    out.append('\n');
                    break;
                case 't':
                    out.append('\t');
                    break;
                default:
                    out.append(escaped);
                    break;
                }
                continue;
            }
            out.append(c);
        }
    }

    QByteArrayView text_;
    qsizetype at_ = 0;
};

bool allDigits(const QByteArray& text) {
    if (text.isEmpty()) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// The blocks the reader is in. Only the outer three names matter; deeper ones are only counted.
class Blocks {
public:
    void enter(const QByteArray& name) {
        if (depth_ < 3) {
            open_.append(name);
        }
        ++depth_;
    }

    void leave() {
        if (depth_ == 0) {
            return;
        }
        --depth_;
        if (open_.size() > depth_) {
            open_.resize(depth_);
        }
    }

    // Whether a value under `key` here is a library folder: "libraryfolders" { "1" "<path>" } in
    // older files, "libraryfolders" { "1" { "path" "<path>" } } in newer ones.
    bool namesLibrary(const QByteArray& key) const {
        if (open_.isEmpty() || open_[0].compare("libraryfolders", Qt::CaseInsensitive) != 0) {
            return false;
        }
        return (depth_ == 1 && allDigits(key)) ||
               (depth_ == 2 && key.compare("path", Qt::CaseInsensitive) == 0);
    }

private:
    QList<QByteArray> open_;
    qsizetype depth_ = 0;
};

} // namespace

QStringList libraryFolderPaths(QByteArrayView text) {
    return libraryFolders(text, std::numeric_limits<qsizetype>::max()).paths;
}

LibraryFolders libraryFolders(QByteArrayView text, qsizetype most) {
    LibraryFolders found;
    QSet<QString> seen;
    Tokenizer tokens(text);
    Blocks blocks;
    Token token = tokens.next();
    while (token.kind != Token::End) {
        if (token.kind == Token::Close) {
            blocks.leave();
            token = tokens.next();
            continue;
        }
        // A block without a key, or a stray condition: count the block, skip the word.
        if (token.kind == Token::Open || isCondition(token)) {
            if (token.kind == Token::Open) {
                blocks.enter({});
            }
            token = tokens.next();
            continue;
        }
        const QByteArray key = token.text;
        token = tokens.nextPastConditions();
        if (token.kind == Token::Open) {
            blocks.enter(key);
            token = tokens.next();
            continue;
        }
        if (token.kind != Token::Text) {
            continue; // a key without a value: the brace or end is handled above
        }
        const QString path = QString::fromUtf8(token.text).trimmed();
        if (blocks.namesLibrary(key) && !path.isEmpty() && !seen.contains(path)) {
            seen.insert(path);
            if (found.paths.size() < most) {
                found.paths.append(path);
            } else {
                ++found.ignored;
            }
        }
        token = tokens.next();
    }
    return found;
}

} // namespace vestimo::core::games
