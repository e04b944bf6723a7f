#include "common/testmain.h"

class TestFormats : public QObject
{
    Q_OBJECT
};

SONVEL_TEST_MAIN(TestFormats)
#include "tst_formats.moc"
