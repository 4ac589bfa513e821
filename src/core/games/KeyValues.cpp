#include "core/games/KeyValues.h"

#include <QString>

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

class Tokenizer {
public:
    explicit Tokenizer(QByteArrayView text) : text_(text) {}

    Token next() {
        SkipSpaceAndComments();
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
            ReadQuoted(token.text);
        } else {
            // A bare word runs to the next space, brace or quote.
            while (at_ < text_.size() && !isSpace(text_[at_]) && text_[at_] != '{' && text_[at_] != '}' &&
                   text_[at_] != '"') {
                token.text.append(text_[at_++]);
            }
        }
        return token;
    }

private:
    void SkipSpaceAndComments() {
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
    void ReadQuoted(QByteArray& out) {
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

// A conditional such as [$WIN32] after a value or before a block.
bool isCondition(const Token& token) {
    return token.kind == Token::Text && !token.quoted && token.text.startsWith('[');
}

} // namespace

QStringList libraryFolderPaths(QByteArrayView text) {
    QStringList paths;
    auto add = [&paths](const QByteArray& raw) {
        const QString path = QString::fromUtf8(raw).trimmed();
        if (!path.isEmpty() && !paths.contains(path)) {
            paths.append(path);
        }
    };
    Tokenizer tokens(text);
    // The names of the open blocks; only the outer three matter, deeper ones are only counted.
    QList<QByteArray> open;
    qsizetype depth = 0;
    auto inLibraries = [&] {
        return !open.isEmpty() && open[0].compare("libraryfolders", Qt::CaseInsensitive) == 0;
    };
    auto enter = [&](const QByteArray& name) {
        if (depth < 3) {
            open.append(name);
        }
        ++depth;
    };

    Token token = tokens.next();
    while (token.kind != Token::End) {
        if (token.kind == Token::Close) {
            if (depth > 0) {
                --depth;
                if (open.size() > depth) {
                    open.resize(depth);
                }
            }
            token = tokens.next();
            continue;
        }
        if (token.kind == Token::Open || isCondition(token)) {
            // A block without a key, or a stray condition: count the block, skip the word.
            if (token.kind == Token::Open) {
                enter({});
            }
            token = tokens.next();
            continue;
        }
        const QByteArray key = token.text;
        token = tokens.next();
        while (isCondition(token)) {
            token = tokens.next();
        }
        if (token.kind == Token::Open) {
            enter(key);
            token = tokens.next();
            continue;
        }
        if (token.kind != Token::Text) {
            continue; // a key without a value: the brace or end is handled above
        }
        if (inLibraries()) {
            if (depth == 1 && allDigits(key)) {
                add(token.text);
            } else if (depth == 2 && key.compare("path", Qt::CaseInsensitive) == 0) {
                add(token.text);
            }
        }
        token = tokens.next();
    }
    return paths;
}

} // namespace vestimo::core::games
