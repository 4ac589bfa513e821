#pragma once

#include "core/sim/Character.h"
#include "core/sim/Mesh.h"

#include <QByteArray>
#include <QString>

// The real bodies beside the project, and the binary forms built from parsed text forms by the
// documented layout (the program itself only reads them).
namespace vestimo::test {

QString bodiesDir();
// Empty when the file is not there.
QByteArray readBody(const QString& name);

QByteArray writeBcf(const sim::CharacterFile& file);
QByteArray writeBmf(const sim::Mesh& mesh);

} // namespace vestimo::test
