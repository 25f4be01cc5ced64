#pragma once

// The clips of the test_media fixture (tests/media/make-test-media.sh).

#include <QString>

namespace kivo::test {

inline QString Media(const char* name)
{
    return qEnvironmentVariable("KIVO_TEST_MEDIA") + QLatin1Char('/') + QString::fromUtf8(name);
}

}  // namespace kivo::test
