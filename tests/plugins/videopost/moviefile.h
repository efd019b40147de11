// Hand-built QuickTime clips for the upload tests: the atoms the reader walks, with a
// sample table pointing into "mdat", each field settable to break it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace moviefile {

typedef std::vector<uint8_t> Bytes;

inline void Put32(Bytes* b, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b->push_back((uint8_t)(v >> s));
}
inline Bytes Box(const char* type, const Bytes& body) {
  Bytes b;
  Put32(&b, (uint32_t)(body.size() + 8));
  b.insert(b.end(), type, type + 4);
  b.insert(b.end(), body.begin(), body.end());
  return b;
}
inline Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes b;
  for (const Bytes& p : parts) b.insert(b.end(), p.begin(), p.end());
  return b;
}

struct Clip {
  uint32_t timeScale = 30, duration = 300;
  uint32_t sampleCount = 300;  // one time-to-sample entry
  const char* codec = "jpeg";
  uint32_t creation = 0;     // seconds since 1904
  bool privateTime = false;  // an "mvml" atom holding `privateValue`
  uint32_t privateValue = 0;
  std::string frame = "\xFF\xD8 first frame \xFF\xD9";
  int64_t sampleSizeOverride = -1;  // the first sample's size in "stsz"
  uint32_t chunkOffsetDelta = 0;    // added to the chunk offset
  bool withChunkOffsets = true;

  std::string Build() const {
    Bytes mvhd(4, 0);
    Put32(&mvhd, creation);
    mvhd.resize(100, 0);
    Bytes mdhd(12, 0);
    Put32(&mdhd, timeScale);
    Put32(&mdhd, duration);
    Put32(&mdhd, 0);
    Bytes hdlr(8, 0);
    hdlr.insert(hdlr.end(), {'v', 'i', 'd', 'e'});
    hdlr.resize(24, 0);
    Bytes stsd(4, 0);
    Put32(&stsd, 1);
    Bytes desc;
    Put32(&desc, 86);
    desc.insert(desc.end(), codec, codec + 4);
    desc.resize(78, 0);
    stsd.insert(stsd.end(), desc.begin(), desc.end());
    Bytes stts(4, 0);
    Put32(&stts, 1);
    Put32(&stts, sampleCount);
    Put32(&stts, 1);
    Bytes stsc(4, 0);
    Put32(&stsc, 1);
    Put32(&stsc, 1);
    Put32(&stsc, 1);  // one sample a chunk
    Put32(&stsc, 1);
    Bytes stsz(4, 0);
    Put32(&stsz, 0);  // sizes by table
    Put32(&stsz, 1);
    Put32(&stsz, sampleSizeOverride >= 0 ? (uint32_t)sampleSizeOverride : (uint32_t)frame.size());
    auto build = [&](uint32_t chunkOffset) {
      Bytes stco(4, 0);
      Put32(&stco, 1);
      Put32(&stco, chunkOffset);
      Bytes tables = Cat({Box("stsd", stsd), Box("stts", stts), Box("stsc", stsc), Box("stsz", stsz)});
      if (withChunkOffsets) tables = Cat({tables, Box("stco", stco)});
      Bytes minf = Box("minf", Cat({Box("vmhd", Bytes(12, 0)), Box("stbl", tables)}));
      Bytes mdia = Box("mdia", Cat({Box("mdhd", mdhd), Box("hdlr", hdlr), minf}));
      Bytes moov = Box("moov", Cat({Box("mvhd", mvhd), Box("trak", Cat({Box("tkhd", Bytes(84, 0)), mdia}))}));
      Bytes ftyp = Box("ftyp", {'q', 't', ' ', ' ', 0, 0, 2, 0});
      Bytes uuid;
      if (privateTime) {
        Bytes body = {'m', 'v', 'm', 'l', 0xA8, 0x8C, 0x11, 0xD4, 0x81, 0x97, 0x00, 0x90, 0x27, 0x08, 0x77, 0x03};
        Put32(&body, 0);  // offset 24: 0, the value at 32 counts
        Put32(&body, 0);
        Put32(&body, privateValue);
        uuid = Box("uuid", body);
      }
      return Cat({ftyp, uuid, moov});
    };
    Bytes head = build(0);
    Bytes file = build((uint32_t)head.size() + 8 + chunkOffsetDelta);
    Bytes mdat = Box("mdat", Bytes(frame.begin(), frame.end()));
    file.insert(file.end(), mdat.begin(), mdat.end());
    return std::string(file.begin(), file.end());
  }
};

}  // namespace moviefile
