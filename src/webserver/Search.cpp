#include "Search.h"

#include "platform/Clock.h"
#include "platform/Timer.h"

namespace {
constexpr double kSearchSeconds = 3.0;
constexpr int kTickMilliseconds = 1000;
} // namespace

Search::Search(const Clock& clock, Timer& timer1) : clock_(clock), timer1_(timer1)
{
    timer1_.setTickHandler([this] { Q_EMIT ticked(); });
}

Search::~Search()
{
    // Nothing may tick into a destroyed search.
    timer1_.setTickHandler({});
}

void Search::clear()
{
    count_ = 0;
    numbered_ = true;
}

void Search::start()
{
    deadline_ = clock_.elapsedSeconds() + kSearchSeconds;
    timer1_.setInterval(kTickMilliseconds);
    timer1_.setEnabled(true);
}

void Search::finish() { timer1_.setEnabled(false); }

void Search::listWithoutHeadings() { numbered_ = false; }

bool Search::ticking() const { return timer1_.isEnabled(); }

bool Search::timeLeft() const
{
    // The tick at the deadline itself still sends.
    return clock_.elapsedSeconds() <= deadline_;
}

std::string Search::countListed()
{
    ++count_;
    return numbered_ && count_ <= kLastNumberedHeading ? "Webserver " + std::to_string(count_) + " found:\r\n"
                                                       : std::string();
}
