#include "platform/web/web_page.h"

#include <emscripten.h>

EM_JS(int, PageChoice, (const char *name), {
  const choice = Module.frostenChoices || {};
  const value = choice[UTF8ToString(name)];
  return value === undefined ? -1 : Number(value);
});

WebChoicesRecord WebPageChoices() {
  WebChoicesRecord c;
  c.Width = PageChoice("width");
  c.Height = PageChoice("height");
  c.Fullscreen = PageChoice("fullscreen") > 0;
  c.TexCompress = PageChoice("texCompress") > 0;
  c.FixedTick = PageChoice("tick");
  return c;
}

EM_JS(void, PageShowBox, (const char *title, const char *text), {
  Module.frostenPage.showBox(UTF8ToString(title), UTF8ToString(text));
});

void WebPageShowBox(const char *title, const char *text) { PageShowBox(title ? title : "", text ? text : ""); }

EM_JS(int, PageLoadMusic, (const uint8_t *bytes, uint32_t size), {
  return Module.frostenPage.loadMusic(HEAPU8.slice(bytes, bytes + size).buffer) ? 1 : 0;
});

bool WebPageLoadMusic(const uint8_t *bytes, uint32_t size) { return PageLoadMusic(bytes, size) != 0; }

EM_JS(int, PagePlayMusic, (), { return Module.frostenPage.playMusic() ? 1 : 0; });
bool WebPagePlayMusic() { return PagePlayMusic() != 0; }

EM_JS(void, PageStopMusic, (), { Module.frostenPage.stopMusic(); });
void WebPageStopMusic() { PageStopMusic(); }

EM_JS(void, PageFrameDrawn, (double milliseconds), { Module.frostenPage.frameDrawn(milliseconds); });
void WebPageFrameDrawn(double milliseconds) { PageFrameDrawn(milliseconds); }

EM_JS(void, PageSetTitle, (const char *title), { document.title = UTF8ToString(title); });
void WebPageSetTitle(const char *title) { PageSetTitle(title); }

EM_JS(void, PageHideCursor, (), { Module.canvas.style.cursor = 'none'; });
void WebPageHideCursor() { PageHideCursor(); }

EM_JS(void, PageLeaveFullscreen, (), {
  if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
});
void WebPageLeaveFullscreen() { PageLeaveFullscreen(); }
