#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

class QListWidgetItem;
class TMultiLang;

namespace Ui {
class TOpenDial;
}

// The picture file chooser of the picture tool: a folder browser with the picture masks and a
// preview. It closes on OK only when Edit names an existing regular file, resolved against the
// folder shown (a folder or a missing name keeps it open, without a message). The caller reads
// OKPresse, FileName() and Folder(), and keeps Apercu() as its preview setting.
class TOpenDial : public QDialog {
    Q_OBJECT
public:
    // `startFolder` is the folder remembered for the user's pictures; when it does not exist the
    // browser starts in the home folder. `preview` is the window's preview setting.
    TOpenDial(const QString& startFolder, bool preview, QWidget* parent = nullptr);
    ~TOpenDial() override;

    const std::unique_ptr<Ui::TOpenDial> ui;
    TMultiLang* MultiLang1 = nullptr;

    bool OKPresse = false;

    QString Folder() const { return m_folder; }
    void SetFolder(const QString& folder);
    // Edit's name made absolute against the folder shown.
    QString FileName() const;
    bool Apercu() const;
    // The masks of the filter chosen ("*.bmp"...); letter case is ignored when matching.
    QStringList Masks() const { return m_masks; }

    // Enter in Edit: a mask changes the filter, a folder changes the folder.
    void EditKeyPress();
    void FileListBoxClick();
    void apercuClick();
    void ShowPreview();

    // OK goes through the closing check.
    void done(int result) override;

protected:
    // The files are read again: the folder may have changed while the dialog was hidden.
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectEvents();
    void fillFilters();
    void readFiles();
    void readFolders();
    void hidePreview();

    QString m_folder;
    QStringList m_masks;
};
