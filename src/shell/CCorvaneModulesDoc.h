#pragma once
#include <QObject>

// The empty document of the single-document frame: it holds no data and is
// never loaded or saved.
class CCorvaneModulesDoc : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
};
