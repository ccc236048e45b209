// The page of the show in a browser: the launcher's choices, Okay starting
// the show (the program, through emscripten) and its music (the player of
// the music folder), the program's boxes, and what the tests read back
// (window.frosten).
import { ChiptuneJsPlayer } from './music/chiptune3.js';

const page = {
  status: 'loading',   // loading, launcher, running, ended
  music: 'off',        // off, loading, playing, stopped, failed
  musicPosition: 0,
  frames: 0,
  frameMs: [],         // display callback times of the latest frames
  firstFrameMs: null,  // from Okay to the end of the first frame
  box: null,           // {title, text} of the last box shown
  exitCode: null,
};
window.frosten = page;

const params = new URLSearchParams(location.search);
// Test only: every frame draws this tick, as frosten-capture does.
const fixedTick = params.has('tick') ? Math.max(0, Math.floor(Number(params.get('tick')) || 0)) : -1;

const canvas = document.getElementById('canvas');
const form = document.getElementById('launcher');
const okay = document.getElementById('okay');
const modeList = document.getElementById('mode');
const fullscreenBox = document.getElementById('fullscreen');
const compressBox = document.getElementById('texcompress');

// The sizes the canvas can take, as the launcher lists display modes; the
// default is the launcher's own, 640x480:32.
const Sizes = [[640, 480], [800, 600], [1024, 768], [1152, 864], [1280, 960], [1600, 1200]];
for (const [w, h] of Sizes) {
  if (w > 640 && (w > screen.width || h > screen.height)) continue;
  modeList.add(new Option(`${w}x${h}:32`, `${w}x${h}`));
}
modeList.value = '640x480';
// WebGL has no generic compressed formats that the show could ask for.
compressBox.checked = false;
compressBox.disabled = true;
compressBox.parentElement.title = 'This browser offers no generic compressed texture formats';

let player = null;
let moduleBytes = null;
let playWanted = false;

function startPlayer() {
  if (!player || !moduleBytes || !playWanted || !player.processNode) return;
  player.play(moduleBytes);
}

function showBox(title, text) {
  page.box = { title, text };
  document.getElementById('box-title').textContent = title;
  document.getElementById('box-text').textContent = text.replace(/\r\n?/g, '\n');
  document.getElementById('box').hidden = false;
}
document.getElementById('box-ok').addEventListener('click', () => { document.getElementById('box').hidden = true; });

// What the program calls (platform/web/web_page.cpp).
const Module = {
  canvas,
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
  frostenChoices: {},
  frostenPage: {
    showBox,
    loadMusic(bytes) {
      moduleBytes = bytes;
      page.music = 'loading';
      return true;
    },
    playMusic() {
      playWanted = true;
      startPlayer();
      return !!player;
    },
    stopMusic() {
      playWanted = false;
      if (player) player.stop();
      if (player && player.context) player.context.suspend().catch(() => {});
      page.music = 'stopped';
    },
    frameDrawn(ms) {
      page.frames++;
      if (page.firstFrameMs === null) page.firstFrameMs = performance.now() - page.okayAt;
      page.frameMs.push(ms);
      if (page.frameMs.length > 600) page.frameMs.shift();
    },
  },
  onRuntimeInitialized() {
    page.status = 'launcher';
    okay.disabled = false;
    okay.focus();
  },
  onExit(code) {
    page.exitCode = code;
    page.status = 'ended';
  },
};
window.Module = Module;

form.addEventListener('submit', (event) => {
  event.preventDefault();
  if (page.status !== 'launcher') return;
  const [width, height] = modeList.value.split('x').map(Number);
  const fullscreen = fullscreenBox.checked;
  // The click is the gesture the browser needs for sound and full screen.
  player = new ChiptuneJsPlayer({ repeatCount: -1 });
  player.onInitialized(startPlayer);
  player.onProgress((progress) => {
    page.musicPosition = progress.pos;
    if (playWanted && progress.pos > 0) page.music = 'playing';
  });
  player.onError(() => { page.music = 'failed'; });
  if (fullscreen && canvas.requestFullscreen) canvas.requestFullscreen().catch(() => {});
  Module.frostenChoices = { width, height, fullscreen: fullscreen ? 1 : 0, texCompress: 0, tick: fixedTick };
  form.hidden = true;
  canvas.hidden = false;
  page.status = 'running';
  page.okayAt = performance.now();
  Module.callMain([]);
});

document.getElementById('cancel').addEventListener('click', () => {
  form.hidden = true;
  page.status = 'ended';
});

const script = document.createElement('script');
script.src = 'frosten.js';
document.body.appendChild(script);
