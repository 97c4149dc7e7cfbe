#pragma once

#include <QObject>

#include <string>

class Clock;
class Timer;

// The 99th and later webservers of a search are listed without a numbered heading.
inline constexpr int kLastNumberedHeading = 98;

// One search for webservers, from the refresh that starts it to the tick that ends it:
// the count of webservers listed (which decides each one's heading), the deadline and the
// timer whose ticks send the list request. Nothing else writes any of them.
class Search final : public QObject {
    Q_OBJECT
public:
    Search(const Clock& clock, Timer& timer1);
    ~Search() override;

    // A refresh begins: nothing is listed yet.
    void clear();
    // The search runs for three seconds from now, ticking once a second.
    void start();
    // Stops the ticks; the count stays until the next refresh.
    void finish();
    // Until the next refresh, webservers are listed without a numbered heading.
    void listWithoutHeadings();

    // The timer ticks: a search runs or is about to end.
    bool ticking() const;
    // The search's time is not yet up.
    bool timeLeft() const;
    int count() const { return count_; }
    // Counts one more listed webserver and gives its heading line ("" beyond the 98th).
    std::string countListed();

Q_SIGNALS:
    void ticked();

private:
    const Clock& clock_;
    Timer& timer1_;
    double deadline_ = 0.0;
    int count_ = 0;
    bool numbered_ = true; // a command's wait lists what answers without headings
};
