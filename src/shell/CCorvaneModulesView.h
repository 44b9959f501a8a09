#pragma once
#include <QString>
#include <QWidget>

class CCorvaneModulesDoc;

// Paints the instruction text and owns the two Setup commands.
class CCorvaneModulesView : public QWidget {
    Q_OBJECT
public:
    explicit CCorvaneModulesView(CCorvaneModulesDoc* doc, QWidget* parent = nullptr);

    static QString InstructionText();
    // The band the text is drawn in: the client area less 60 pixels each side.
    QRect TextRect() const;

    // Wide enough for a comfortable line of text, high enough for the whole
    // text at the view's font.
    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

public slots:
    void OnSetupCommPort();
    void OnConfigureLogger();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CCorvaneModulesDoc* doc_;
};
