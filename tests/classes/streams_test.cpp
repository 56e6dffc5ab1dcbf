// Memory and file streams: reads, writes, seeks and short reads.
#include "vcl/Classes.hpp"

#include "test_support.hpp"

using namespace vcl;

TEST(Streams, MemoryStreamReadsWhatWasWrittenAndStopsAtTheEnd) {
  TMemoryStream m;
  m.WriteBuffer("abcdef", 6);
  EXPECT_EQ(m.Size(), 6);
  m.SetPosition(4);
  char buf[8] = {};
  EXPECT_EQ(m.Read(buf, 8), 2);
  EXPECT_EQ(std::string(buf, 2), "ef");
  m.SetPosition(5);
  EXPECT_THROW_MSG(m.ReadBuffer(buf, 2), EReadError, "Stream read error");
  m.Seek(-2, TSeekOrigin::soEnd);
  m.WriteBuffer("XYZ", 3);  // overwrites the tail and grows
  EXPECT_EQ(std::string(m.Bytes().begin(), m.Bytes().end()), "abcdXYZ");
}

TEST(Streams, FileStreamWritesAndReadsBack) {
  testing_support::ScratchDir dir;
  const std::string file = dir.File("s.bin");
  {
    TFileStream out(file, fmCreate);
    out.WriteBuffer("\x00\x01\xff", 3);
  }
  TFileStream in(file, fmOpenRead);
  EXPECT_EQ(in.Size(), 3);
  unsigned char b[3];
  in.ReadBuffer(b, 3);
  EXPECT_EQ(b[2], 0xff);
  EXPECT_EQ(in.Read(b, 1), 0);
  EXPECT_THROW(TFileStream(dir.File("none.bin"), fmOpenRead), EFOpenError);
}
