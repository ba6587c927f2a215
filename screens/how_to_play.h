// How to play, the rules book (state 7). Its callbacks for the state table.
#pragma once

struct Channel;

void HowToPlayLoad();
void HowToPlayInit();
void HowToPlayUpdate();
void HowToPlayUnload();

// The book's five topics, in the order their shown flags are kept.
enum HowToPlayTopic {
    TOPIC_TROOPS = 0,
    TOPIC_BUYING = 1,
    TOPIC_UPGRADING = 2,
    TOPIC_THIEF = 3,
    TOPIC_BANNER = 4,
    TOPIC_COUNT = 5,
};

// Which topic's page is shown (at most one flag is true; none at Init).
extern bool topicShown[TOPIC_COUNT];
// The channel of the last page turn (at Init: the page turn primed paused).
extern Channel* pageTurnChannel;
