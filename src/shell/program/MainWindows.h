#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

// The program's main windows, created once at start-up, hidden, in their fixed order, and
// destroyed in the reverse order when the program ends. The first is the main window: closing it
// ends the program.
class MainWindows {
public:
    MainWindows() = default;
    ~MainWindows();
    MainWindows(const MainWindows&) = delete;
    MainWindows& operator=(const MainWindows&) = delete;

    QWidget* MainWindow() const { return m_windows.empty() ? nullptr : m_windows.front().get(); }

    // Takes the window; the first one added becomes the main window.
    template <class W> W* Add(std::unique_ptr<W> window)
    {
        W* w = window.get();
        m_windows.push_back(std::move(window));
        return w;
    }

private:
    std::vector<std::unique_ptr<QWidget>> m_windows;
};

class TForm1;
namespace station {
class TModEtik;
}
namespace database {
class TwForm1;
}
namespace addressbook {
class TListe;
class TFiche;
}

// The station and the design window work on one design: the station opens it and shows the
// designer (hiding itself), the designer asks before leaving changes and brings the station back.
void LinkDesignWindow(station::TModEtik& station, TForm1& designer);

// The address book and the station: the station shows the card, and the book's current record,
// moved to or edited in the card, is what the station's thumbnail and hint show. `cardClosed`
// runs when the card closes, after the station caught up.
void LinkAddressBook(station::TModEtik& station, addressbook::TListe& liste, addressbook::TFiche& fiche,
                     std::function<void()> cardClosed = {});

// The database window and the station: the station opens it and shows again when it closes, its
// current record redraws the station's thumbnail, and its list prints on the station's printer.
void LinkDatabaseWindow(station::TModEtik& station, database::TwForm1& base);

// Creates every main window in order, none shown.
std::unique_ptr<MainWindows> CreateMainWindows();
