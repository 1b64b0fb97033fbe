#pragma once
// Object names of the controls that edit fields: a type prefix and the
// field's name ("txtNome", "chkDisponibile", "cboCategoria", "dtpData"),
// so that tests and the windows' users find a field's control by name.

#include <QString>

class QWidget;

QString EditorObjectName(const QWidget& editor, const QString& field);
